// The game window: its table plus the shared state and ports its procedures reach.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "common/generador.hpp"
#include "ports/platform.hpp"
#include "roster/personajes.hpp"
#include "speech/voz.hpp"
#include "table/mesa.hpp"

namespace veldrisa {

// Every procedure of the game window takes this one object: no hidden globals.
struct Form1 {
    Voz& voz;
    Roster& Personajes;
    Generador& rnd;
    Platform& plataforma;
    Mesa mesa;
    bool Cerrada = false;  // set by Escape or Alt+F4: the program ends

    Personaje& P(int i) { return Personajes.at(static_cast<std::size_t>(i)); }
    int Turnos() const { return static_cast<int>(mesa.OrdenDia.size()); }
    // The character OrdenDia(Turno): the one whose choice is awaited or was taken last.
    Personaje& Actual() { return P(mesa.OrdenDia.at(static_cast<std::size_t>(mesa.Turno - 1))); }
    Personaje& HerederoActual() { return P(mesa.LineaSucesion[mesa.Heredero]); }
    void Habla(std::string_view texto, bool antes = false, bool despues = false) {
        veldrisa::Habla(voz, texto, antes, despues);
    }
    // Said for one audience only (Audiencia): a character's player, or whoever pressed the key.
    void HablaA(int audiencia, std::string_view texto, bool antes = false, bool despues = false) {
        Destinatario solo(voz, audiencia);
        Habla(texto, antes, despues);
    }
    // A player's character is asked for its choice: the others may hear whose turn it is.
    void AnunciaTurno(const Personaje& p) {
        if (voz.observador) voz.observador->turnOf(p.Indice, p.Nombre);
    }
    SoundPlayer& Sonido(int sala) { return *plataforma.sounds[sala - 1]; }
};

// The room and card phases take the day's order one character at a time from the current turn:
// juega(p) settles a computer character's choice, or prompts a player still to choose and returns
// false, which stops the phase until that player's key. True once the last of the order is done.
template <typename Juega>
bool RecorreTurnos(Form1& f, Juega juega) {
    for (;;) {
        if (!juega(f.Actual())) return false;
        if (f.mesa.Turno >= f.Turnos()) return true;
        ++f.mesa.Turno;
    }
}

// After a player's choice the phase goes on from the next turn; the last turn stays the last.
inline void SiguienteTurno(Form1& f) {
    if (++f.mesa.Turno > f.Turnos()) f.mesa.Turno = static_cast<std::int16_t>(f.Turnos());
}

inline void Intercambia(std::int16_t& a, std::int16_t& b) { std::swap(a, b); }

}  // namespace veldrisa
