// What must hold of a game between any two key presses, whatever the players press.
#pragma once

#include <string>
#include <vector>

#include "table/form1.hpp"

namespace veldrisa {

// Every broken rule, in plain words; empty when the game window's state is sound.
std::vector<std::string> Incumplidas(Form1& f);

// After a night the deck's cards stand compact at its front.
bool MazoCompacto(const Mesa& m);

}  // namespace veldrisa
