// The room phase of the day.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Every living character goes to a room: the computer's at once, a player's after its prompt.
// PrimeraVez draws the day's order; afterwards the phase goes on from the next character.
void FaseSalas(Form1& f, bool PrimeraVez);

}  // namespace veldrisa
