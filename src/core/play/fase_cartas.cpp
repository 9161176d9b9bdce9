// FaseCartas: every living character plays or throws away one of its two cards.
#include "play/fase_cartas.hpp"

#include "cards/catalogo.hpp"
#include "common/texto.hpp"
#include "play/eleccion_carta.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

// A player's turn brings the sound of the player's room; the glass is never cut short.
void SonidoDeSala(Form1& f, int sala) {
    f.Sonido(1).stop();
    f.Sonido(3).stop();
    f.Sonido(4).stop();
    f.Sonido(sala).play();
}

// L / 4 with a decimal comma: only whole numbers and quarters occur.
std::string CuartosConComa(std::size_t largo) {
    static const char* const fraccion[4] = {"", ",25", ",5", ",75"};
    return std::to_string(largo / 4) + fraccion[largo % 4];
}

void CierraFaseCartas(Form1& f) {
    Mesa& m = f.mesa;
    m.Label1 = "Carttas seleccionadas \r\n";
    for (int q : m.OrdenDia) {
        const Personaje& p = f.P(q);
        int carta = p.CartaElegida == 1 ? p.Carta1 : p.Carta2;
        Agrega(m.Label1, p.Nombre, "(En ", m.NombreSala[p.Sala], " ", CuartosConComa(m.OcupantesSala[p.Sala].size()),
               ") usa la carta ", CartaNumero(m, carta).TextoEnLog(), " contra ",
               f.P(p.Objetivo).Nombre, "\r\n");
    }
    f.Habla("cartas seleccionadas. Pulse espacio para continuar");
}

}  // namespace

std::string DondeEstaYCartas(Form1& f, const Personaje& c) {
    const Mesa& m = f.mesa;
    std::string companeros;
    for (int w = 1; w <= NumPersonajes; ++w)
        if (w != c.Indice && EstaEnSala(m.OcupantesSala[c.Sala], w)) companeros += f.P(w).Nombre + ", ";
    return " está en " + m.NombreSala[c.Sala] +
           (companeros.empty() ? std::string(" y no hay nadie más con usted. ") : " junto a " + companeros) +
           " Recuerde que  sus cartas son: 1. " + TextoCarta(m, c.Carta1) + " y 2. " + TextoCarta(m, c.Carta2) +
           ". ¿Qué carta desea utilizar? (pulse 1 o 2, y Si desea descartar una carta sin utilizarla, mantenga "
           "pulsada la tecla control)";
}

void FaseCartas(Form1& f, bool PrimeraVez) {
    Mesa& m = f.mesa;
    if (PrimeraVez) {
        m.Turno = 1;
    } else if (++m.Turno > f.Turnos()) {
        m.Turno = static_cast<std::int16_t>(f.Turnos());
    }
    // Computer characters choose at once; the phase stops at the first player still to choose.
    for (;;) {
        Personaje& p = f.Actual();
        if (p.Controlado) {
            SonidoDeSala(f, p.Sala);
            if (p.CartaElegida < 1) {
                f.Habla(p.Nombre + ", es su turno de jugar." + DondeEstaYCartas(f, p));
                m.PersonajeEnTurno = p.Indice;
                m.Fase = Fases::Cartas;
                return;
            }
        } else {
            EligeCartaComputadora(f, p.Indice);
        }
        if (m.Turno >= f.Turnos()) break;
        ++m.Turno;
    }
    CierraFaseCartas(f);
}

}  // namespace veldrisa
