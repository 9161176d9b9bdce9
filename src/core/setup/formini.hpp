// The setup screen: the players choose and rename the characters they control.
#pragma once

#include <cstdint>

#include "ports/platform.hpp"
#include "roster/personajes.hpp"
#include "speech/ayuda.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

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
// The keys of the setup screen, for F1 and the window.
LineaAyuda AyudaFormIni();

}  // namespace veldrisa
