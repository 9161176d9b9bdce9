// Unicode-aware text helpers: the game's texts are UTF-8 and counted in characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veldrisa {

// Number of Unicode characters (code points) in a UTF-8 text; invalid bytes count one each.
std::size_t CuentaCaracteres(std::string_view texto);

// Whether the text has more than n characters; looks no further than it must.
bool MasDeNCaracteres(std::string_view texto, std::size_t n);

// The text with every character lower-cased ("Ó" becomes "ó"); invalid bytes stay as they are.
std::string Minusculas(std::string_view texto);

// The first n characters of the text (all of it if shorter), never cutting a character.
std::string_view PrimerosCaracteres(std::string_view texto, std::size_t n);

}  // namespace veldrisa

namespace veldrisa {

// Text typed from outside, fit for a name: every byte that is not valid UTF-8 becomes U+FFFD,
// and control characters (C0, DEL, C1) are dropped.
std::string TextoEscribible(std::string_view texto);

// Whether the text has a character one can see: a letter, digit, mark of punctuation or symbol.
bool TieneVisibles(std::string_view texto);

// In a valid UTF-8 text, where the character that ends at byte i starts (0 at the start).
std::size_t CaracterAnterior(std::string_view texto, std::size_t i);
// In a valid UTF-8 text, where the character that starts at byte i ends (the end at the end).
std::size_t CaracterSiguiente(std::string_view texto, std::size_t i);

}  // namespace veldrisa
