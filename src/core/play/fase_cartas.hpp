// The card phase of the day.
#pragma once

#include <string>

#include "table/form1.hpp"

namespace veldrisa {

// Every living character plays or throws away a card: the computer's at once, a player's after
// its prompt. PrimeraVez starts from the first of the day's order.
void FaseCartas(Form1& f, bool PrimeraVez);
// " está en " the room, the company and the two cards, ending in the question of which to use.
std::string DondeEstaYCartas(Form1& f, const Personaje& c);

}  // namespace veldrisa
