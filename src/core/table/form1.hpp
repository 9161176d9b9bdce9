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
    SoundPlayer& Sonido(int sala) { return *plataforma.sounds[sala - 1]; }
};

inline void Intercambia(std::int16_t& a, std::int16_t& b) { std::swap(a, b); }

}  // namespace veldrisa
