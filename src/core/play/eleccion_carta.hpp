// The computer's choice of a card and of its target.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Sets the computer character's CartaElegida and Objetivo.
void EligeCartaComputadora(Form1& f, int personaje);

}  // namespace veldrisa
