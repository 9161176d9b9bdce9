// UTF-8 helpers for text that reaches espeak-ng, the font renderer and the name field.
#pragma once

#include <string>

namespace veldrisa {

// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

// The last character of a valid UTF-8 text ("" for an empty text).
std::string LastCharacter(const std::string& text);

// The last n characters of a valid UTF-8 text (all of it if shorter).
std::string LastCharacters(const std::string& text, std::size_t n);

}  // namespace veldrisa
