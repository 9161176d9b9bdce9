// Marks that espeak-ng names in English inside Spanish text, put into Spanish words for it.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// The text as espeak-ng should read it with every mark spoken: "..." and "…" become
// "puntos suspensivos", curly quotes "comillas", dashes "raya", and so on for each mark its
// Spanish voice would otherwise name in English. Everything else is left as it is.
std::string SpanishMarks(std::string_view text);

}  // namespace veldrisa
