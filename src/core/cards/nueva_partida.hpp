// A new game on the game window.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// The rooms opened and named, the sounds given their files, the cards dealt, the heir drawn.
void NuevaPartida(Form1& f);
// Key 1 after an ending: every character alive again, then a new game in the same window.
void NuevaPartidaTrasFin(Form1& f);

}  // namespace veldrisa
