// The card catalogue: building it and reading card texts.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Replaces the catalogue by the forty cards, numbered 1..40 with an empty entry 0.
void CreaCatalogo(Mesa& m);

}  // namespace veldrisa
