// The setup screen: the players choose and rename the characters they control.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/platform.hpp"
#include "roster/personajes.hpp"
#include "speech/ayuda.hpp"
#include "speech/campo_texto.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

// The window opened first; only the cursor is its own, the rest is shared state.
struct FormIni {
    Voz& voz;
    Roster& Personajes;
    Generador& rnd;
    std::int16_t PersonajeActual = 0;
    // The name field, open over the screen from F2 until Enter or Escape.
    std::optional<CampoTexto> Campo;
};

// What the setup screen asks of the program after a key.
enum class SalidaFormIni { Sigue, AbreJuego, Cierra };

void CargaFormIni(FormIni& f);
SalidaFormIni TeclaFormIni(FormIni& f, int tecla, int modificadores);
// Text typed while the name field is open goes into it; otherwise it means nothing.
void EscribeFormIni(FormIni& f, std::string_view texto);
// Closes the open name field with this answer, as if typed and confirmed; "" cancels.
void RespondeFormIni(FormIni& f, std::string nombre);
// The keys of the setup screen, for F1 and the window.
LineaAyuda AyudaFormIni();

}  // namespace veldrisa
