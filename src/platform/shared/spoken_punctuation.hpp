// Marks that voices name in English, in their own language or not at all inside Spanish text, put
// into Spanish words, so that every platform's voice says the same.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// The text as a voice should read it with every mark spoken: "..." and "…" become
// "puntos suspensivos", curly quotes "comillas", dashes "raya", and so on for each mark
// espeak-ng's Spanish voice would otherwise name in English (SAPI voices differ more, and get
// the same words). Everything else is left as it is.
std::string SpanishMarks(std::string_view text);

}  // namespace veldrisa
