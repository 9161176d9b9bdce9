// The key dispatcher of the game window.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Handles one key of the game window to its end, in whatever phase the day stands.
void TeclaForm1(Form1& f, int tecla, int modificadores);

}  // namespace veldrisa
