// The deck: a game's cards dealt out, shuffled and kept compact.
#pragma once

#include "common/generador.hpp"
#include "table/form1.hpp"

namespace veldrisa {

// The line of succession shuffled, the catalogue built, the generator seeded from the clock,
// every character's first card dealt; ends with the first status report.
void CargaDatos(Form1& f);
// Shuffles the first 37 slots of the deck.
void BarajaMazo(Mesa& m, Generador& rnd);
// The deck's cards to the front in their order, the empty slots behind them.
void CompactaMazo(Mesa& m);

}  // namespace veldrisa
