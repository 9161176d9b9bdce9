// The night that ends every day.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Carries out every card at once, brings the morning news and opens the next day, or ends the game.
void ResuelveDia(Form1& f);

}  // namespace veldrisa
