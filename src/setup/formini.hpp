// The setup screen: the players choose and rename the characters they control.
#pragma once

#include <cstdint>

#include "ports/platform.hpp"
#include "roster/personajes.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

// Key codes shared by both windows.
namespace Tecla {
constexpr int Enter = 13;
constexpr int Control = 17;
constexpr int Escape = 27;
constexpr int Espacio = 32;
constexpr int Izquierda = 37;
constexpr int Arriba = 38;
constexpr int Derecha = 39;
constexpr int Abajo = 40;
constexpr int Cero = 48;
constexpr int Nueve = 57;
constexpr int C = 67;
constexpr int H = 72;
constexpr int P = 80;
constexpr int F2 = 113;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
constexpr int F10 = 121;
}  // namespace Tecla

// The window opened first; only the cursor is its own, the rest is shared state.
struct FormIni {
    Voz& voz;
    Roster& Personajes;
    Generador& rnd;
    TextDialog& dialogo;
    std::int16_t PersonajeActual = 0;
};

// What the setup screen asks of the program after a key.
enum class SalidaFormIni { Sigue, AbreJuego, Cierra };

void CargaFormIni(FormIni& f);
SalidaFormIni TeclaFormIni(FormIni& f, int tecla, int modificadores);

}  // namespace veldrisa
