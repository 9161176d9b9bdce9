// FaseCartas: every living character plays or throws away one of its two cards.
#include "play/fase_cartas.hpp"

#include "cards/catalogo.hpp"
#include "common/texto.hpp"
#include "play/eleccion_carta.hpp"
#include "table/ocupantes.hpp"
#include "table/sonidos.hpp"

namespace veldrisa {
namespace {

// L / 4 with a decimal comma: only whole numbers and quarters occur.
std::string CuartosConComa(std::size_t largo) {
    static const char* const fraccion[4] = {"", ",25", ",5", ",75"};
    return std::to_string(largo / 4) + fraccion[largo % 4];
}

void CierraFaseCartas(Form1& f) {
    Mesa& m = f.mesa;
    LimpiaLog(m);
    AgregaLog(m, Audiencia::Todos, "Carttas seleccionadas \r\n");
    for (int q : m.OrdenDia) {
        const Personaje& p = f.P(q);
        int carta = p.CartaElegida == 1 ? p.Carta1 : p.Carta2;
        AgregaLog(m, q, p.Nombre, "(En ", m.NombreSala[p.Sala], " ",
                  CuartosConComa(m.OcupantesSala[p.Sala].size()), ") usa la carta ",
                  CartaNumero(m, carta).TextoEnLog(), " contra ", f.P(p.Objetivo).Nombre, "\r\n");
    }
    f.Habla("cartas seleccionadas. Pulse espacio para continuar");
}

// False when a player still has to choose: its prompt is spoken and the phase waits. A player's
// turn plays its room's sound even when its card is already chosen.
bool TurnoCarta(Form1& f, Personaje& p) {
    if (!p.Controlado) {
        EligeCartaComputadora(f, p.Indice);
        return true;
    }
    // The room's sound tells where the player is: it is for that player alone, like the prompt.
    Destinatario solo(f.voz, p.Indice);
    SonidoDeSala(f, p.Sala);
    if (p.CartaElegida >= 1) return true;
    f.AnunciaTurno(p);
    f.Habla(p.Nombre + ", es su turno de jugar." + DondeEstaYCartas(f, p));
    f.mesa.Fase = Fases::Cartas;
    return false;
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
    if (PrimeraVez)
        f.mesa.Turno = 1;
    else
        SiguienteTurno(f);
    if (RecorreTurnos(f, [&f](Personaje& p) { return TurnoCarta(f, p); })) CierraFaseCartas(f);
}

}  // namespace veldrisa
