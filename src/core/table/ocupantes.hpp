// Who is in a room: each room keeps a list of "0" & index & "; " entries, one per occupant.
#pragma once

#include <string>

namespace veldrisa {

// "0" & index & "; ": a character's entry in a room's occupant list.
std::string EntradaOcupante(int indice);
// Whether a room's occupant list holds the character (a search for "0" & index & ";").
bool EstaEnSala(const std::string& ocupantes, int indice);

}  // namespace veldrisa
