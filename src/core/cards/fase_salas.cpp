// FaseSalas: every living character goes to one of the open rooms.
#include "cards/fase_salas.hpp"

#include <array>

#include "cards/catalogo.hpp"
#include "cards/eleccion_sala.hpp"
#include "common/texto.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

void OrdenaDia(Form1& f) {
    Mesa& m = f.mesa;
    m.OrdenDia.clear();
    for (int i = 1; i <= NumPersonajes; ++i)
        if (f.P(i).Vivo) m.OrdenDia.push_back(static_cast<std::int16_t>(i));
    // Each of 200 draws c in 1..n-1 swaps the neighbours c and c + 1 of the day's order.
    std::array<std::uint32_t, 200> pares;
    f.rnd.Entre1Y(f.Turnos() - 1, pares);
    for (const std::uint32_t c : pares) Intercambia(m.OrdenDia.at(c - 1), m.OrdenDia.at(c));
    m.Turno = 1;
}

std::string PreguntaSala(Form1& f, const Personaje& p) {
    const Mesa& m = f.mesa;
    std::string texto = p.Nombre + ", es su turno de jugar. Sus cartas son: 1. " + TextoCarta(m, p.Carta1) +
                        " y 2. " + TextoCarta(m, p.Carta2) +
                        ". ¿A qué habitación desea ir? (pulse el número correspondiente).";
    for (int s = 1; s <= 4; ++s)
        if (m.SalaAbierta[s]) texto += std::to_string(s) + ". " + m.NombreSala[s] + ", ";
    return texto;
}

void CierraFaseSalas(Form1& f) {
    Mesa& m = f.mesa;
    LimpiaLog(m);
    for (int s = 1; s <= 4; ++s) {
        AgregaLog(m, Audiencia::Todos, m.NombreSala[s], "\r\n");
        // A character's room and its entry in that room's list are always set together, so
        // the room is read from the character rather than searched for in the list. Where a
        // character went is its own until the night.
        for (int k = 1; k <= NumPersonajes; ++k)
            if (f.P(k).Sala == s) AgregaLog(m, k, f.P(k).Nombre, "; ");
        AgregaLog(m, Audiencia::Todos, "\r\n");
    }
    f.Habla("salas asignadas. Pulse espacio  para continuar ");
}

// False when a player still has to choose: its prompt is spoken and the phase waits.
bool TurnoSala(Form1& f, Personaje& p) {
    Mesa& m = f.mesa;
    if (!p.Controlado) {
        p.Sala = EligeSalaComputadora(f, p.Indice);
        m.OcupantesSala[p.Sala] += EntradaOcupante(p.Indice);
    } else if (p.Sala == SinSala) {
        f.AnunciaTurno(p);
        f.HablaA(p.Indice, PreguntaSala(f, p));
        m.Fase = Fases::Salas;
        return false;
    }
    return true;
}

}  // namespace

void FaseSalas(Form1& f, bool PrimeraVez) {
    if (PrimeraVez)
        OrdenaDia(f);
    else
        SiguienteTurno(f);
    if (RecorreTurnos(f, [&f](Personaje& p) { return TurnoSala(f, p); })) CierraFaseSalas(f);
}

}  // namespace veldrisa
