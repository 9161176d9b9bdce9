// The computer taking a player's place: when a choice's time runs out, or a player hands over.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Whether the day waits for a player's room, card or target.
bool EsperaEleccion(Form1& f);
// The time for the awaited choice has run out: everyone hears it, the computer chooses for that
// character as for its own, and the day goes on. False, with nothing done, when no choice is awaited.
bool EligePorTiempo(Form1& f);
// The character is played by the computer from now on; if its choice is awaited, the computer
// makes it at once.
void CedeAComputadora(Form1& f, int personaje);
// The character's player takes it back; the next choice it is asked for is theirs.
void RecuperaPersonaje(Form1& f, int personaje);

}  // namespace veldrisa
