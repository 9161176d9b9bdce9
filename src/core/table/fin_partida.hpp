// The end of a game: the three closing scenes.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// How a game ends: the heir left with the keys, nobody is left alive, one character is left.
// Tells the scene of Desenlace 1, 2 or 3 (Ganador is the heir of 1) and waits for key 1 or Escape.
void FinPartida(Form1& f, int Desenlace, int Ganador);

}  // namespace veldrisa
