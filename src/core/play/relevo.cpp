// The computer's choice made in a player's place, with the player's hand left in its order.
#include "play/relevo.hpp"

#include "cards/eleccion_sala.hpp"
#include "cards/fase_salas.hpp"
#include "play/eleccion_carta.hpp"
#include "play/fase_cartas.hpp"
#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

// The computer's rules sort the hand first; a player keeps the order its cards were read in.
void EligeSala(Form1& f, Personaje& p) {
    const auto carta1 = p.Carta1, carta2 = p.Carta2;
    p.Sala = static_cast<std::int16_t>(EligeSalaComputadora(f, p.Indice));
    p.Carta1 = carta1;
    p.Carta2 = carta2;
    f.mesa.OcupantesSala[p.Sala] += EntradaOcupante(p.Indice);
}

void EligeCarta(Form1& f, Personaje& p) {
    const bool ordenada = p.Carta1 <= p.Carta2;
    if (!ordenada) Intercambia(p.Carta1, p.Carta2);
    p.Descarta = false;
    EligeCartaComputadora(f, p.Indice);
    if (ordenada) return;
    Intercambia(p.Carta1, p.Carta2);
    p.CartaElegida = static_cast<std::int16_t>(3 - p.CartaElegida);
}

// The awaited choice made by the computer, and the phase carried on from it.
void EligeEnSuLugar(Form1& f) {
    Personaje& p = f.Actual();
    if (f.mesa.Fase == Fases::Salas) {
        EligeSala(f, p);
        FaseSalas(f, false);
        return;
    }
    EligeCarta(f, p);
    f.mesa.Fase = Fases::Cartas;
    FaseCartas(f, false);
}

}  // namespace

bool EsperaEleccion(Form1& f) {
    switch (f.mesa.Fase) {
        case Fases::Salas: return f.Actual().Controlado && f.Actual().Sala < 1;
        case Fases::Cartas: return f.Actual().Controlado && f.Actual().CartaElegida < 1;
        case Fases::Objetivo: return true;
        default: return false;
    }
}

bool EligePorTiempo(Form1& f) {
    if (!EsperaEleccion(f)) return false;
    f.Habla("El tiempo se ha agotado: el ordenador elige por " + f.Actual().Nombre);
    EligeEnSuLugar(f);
    return true;
}

void CedeAComputadora(Form1& f, int personaje) {
    // Still the player's while the phase goes on: a phase that stays on its last character would
    // otherwise make the computer choose for it a second time.
    if (EsperaEleccion(f) && f.Actual().Indice == personaje) EligeEnSuLugar(f);
    f.P(personaje).Controlado = false;
}

void RecuperaPersonaje(Form1& f, int personaje) { f.P(personaje).Controlado = true; }

}  // namespace veldrisa
