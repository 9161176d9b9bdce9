// The system's errors in the player's words: the C library speaks English whatever the game does.
#pragma once

#include <string>

namespace veldrisa {

// What an errno value means, in Spanish; the number for one the game has no words for.
std::string SystemErrorText(int error);

}  // namespace veldrisa
