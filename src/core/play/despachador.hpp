// The key dispatcher of the game window.
#pragma once

#include "speech/ayuda.hpp"
#include "table/form1.hpp"

namespace veldrisa {

// Handles one key of the game window to its end, in whatever phase the day stands.
void TeclaForm1(Form1& f, int tecla, int modificadores);
// C or P pressed by the player of a character that is not being asked: about that character only,
// and changing nothing.
void TeclaInformativaDe(Form1& f, int personaje, int tecla);
// The keys that work now in the game window, for F1 and the window: those of the phase first.
LineaAyuda AyudaForm1(Form1& f);

}  // namespace veldrisa
