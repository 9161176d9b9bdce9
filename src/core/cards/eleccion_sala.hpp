// The computer's choice of a room from the two cards in hand.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Sorts the computer character's hand and returns the open room it goes to.
int EligeSalaComputadora(Form1& f, int personaje);

}  // namespace veldrisa
