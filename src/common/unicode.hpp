// Unicode-aware text helpers: the game's texts are UTF-8 and counted in characters.
#pragma once

#include <cstddef>
#include <string>

namespace veldrisa {

// Number of Unicode characters (code points) in a UTF-8 text; invalid bytes count one each.
std::size_t CuentaCaracteres(const std::string& texto);

// The text with every character lower-cased ("Ó" becomes "ó"); invalid bytes stay as they are.
std::string Minusculas(const std::string& texto);

// The first n characters of the text (all of it if shorter), never cutting a character.
std::string PrimerosCaracteres(const std::string& texto, std::size_t n);

}  // namespace veldrisa
