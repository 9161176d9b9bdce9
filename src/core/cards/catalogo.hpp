// The card catalogue: building it and reading card texts.
#pragma once

#include <string>
#include <string_view>

#include "table/mesa.hpp"

namespace veldrisa {

// Replaces the catalogue by the forty cards, numbered 1..40 with an empty entry 0.
void CreaCatalogo(Mesa& m);
// Fills the last entry of the catalogue, or a new one after it when the last is in use.
void AgregaCarta(Mesa& m, std::string_view texto, TipoCarta tipo, bool conObjetivo, int sala);
// The card's whole text, or only its name when the short descriptions are on.
std::string TextoCarta(const Mesa& m, int numero);

}  // namespace veldrisa
