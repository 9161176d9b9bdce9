// Texts built from many pieces: the log and the news are rebuilt every phase of every day.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace veldrisa {

// Appends the pieces (strings, views, literals) to s, growing it at most once, where a chain
// of '+' would build a temporary string for every step.
template <typename... Piezas>
void Agrega(std::string& s, const Piezas&... piezas) {
    const std::size_t largo = s.size() + (std::string_view(piezas).size() + ...);
    if (largo > s.capacity()) s.reserve(std::max(largo, 2 * s.capacity()));
    (s.append(std::string_view(piezas)), ...);
}

// The pieces joined into one new string.
template <typename... Piezas>
std::string Une(const Piezas&... piezas) {
    std::string s;
    Agrega(s, piezas...);
    return s;
}

}  // namespace veldrisa
