// The room sounds: which of the four players plays when.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// The fire of the salón that opens the report and the night; the pages and the snoring stop.
void SuenaFuego(Form1& f);
// A player's turn brings the sound of the player's room; the glass is never cut short.
void SonidoDeSala(Form1& f, int sala);

}  // namespace veldrisa
