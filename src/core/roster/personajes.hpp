// The character record and the roster of the ten heirs plus nobody.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/generador.hpp"

namespace veldrisa {

// One heir, as the setup screen, the phases and the night see it.
struct Personaje {
    std::int16_t Indice = 0;
    std::string Nombre;
    bool Controlado = false;
    bool Agresivo = false;
    std::int32_t Sala = 0;
    bool Vivo = false;
    std::int16_t Carta1 = 0;
    std::int16_t Carta2 = 0;
    std::int16_t CartaElegida = 0;
    bool Descarta = false;
    std::int16_t Objetivo = 0;
};

constexpr int NumPersonajes = 10;

// Index 0 is nobody ("Nadie en especial"); 1..10 are the characters.
using Roster = std::array<Personaje, NumPersonajes + 1>;

void CreaPersonajes(Roster& personajes, Generador& rnd);

}  // namespace veldrisa
