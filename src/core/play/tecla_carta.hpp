// The player's card key and the list of targets it may lead to.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Records card d (1 or 2) of the current character; Control throws it away.
void TeclaCarta(Form1& f, int d, int modificadores);
// Speaks the numbered candidates held in Objetivos and counts them in NumObjetivos.
void DiObjetivos(Form1& f);

}  // namespace veldrisa
