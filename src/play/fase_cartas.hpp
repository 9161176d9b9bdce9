// The card phase: the player's prompt and the computer's choices.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// " está en " the room, the company and the two cards, ending in the question of which to use.
std::string DondeEstaYCartas(Form1& f, const Personaje& c);
// Sets the computer character's CartaElegida and Objetivo.
void EligeCartaComputadora(Form1& f, int personaje);

}  // namespace veldrisa
