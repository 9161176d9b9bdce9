// Texts built from many pieces: the log and the news are rebuilt every phase of every day.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace veldrisa {

// A piece as a view; a string literal's length is known without counting.
template <std::size_t N>
std::string_view Pieza(const char (&literal)[N]) {
    return {literal, N - 1};
}
inline std::string_view Pieza(std::string_view s) { return s; }

// Appends the pieces (strings, views, literals) to s, growing it at most once, where a chain
// of '+' would build a temporary string for every step.
template <typename... Piezas>
void Agrega(std::string& s, const Piezas&... piezas) {
    const std::size_t largo = s.size() + (Pieza(piezas).size() + ...);
    if (largo > s.capacity()) s.reserve(std::max(largo, 2 * s.capacity()));
    (s.append(Pieza(piezas)), ...);
}

// The pieces joined into one new string.
template <typename... Piezas>
std::string Une(const Piezas&... piezas) {
    std::string s;
    Agrega(s, piezas...);
    return s;
}

}  // namespace veldrisa
