// The status report that opens every day.
#pragma once

#include "table/form1.hpp"

namespace veldrisa {

// Second cards dealt, the fire sound, the log of every hand, the living aspirants spoken.
void InformeAspirantes(Form1& f);

}  // namespace veldrisa
