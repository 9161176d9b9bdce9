// UTF-8 helpers for text that reaches espeak-ng, the font renderer and the name field.
#pragma once

#include <string>

#include "platform/shared/valid_utf8.hpp"

namespace veldrisa {

// The last character of a valid UTF-8 text ("" for an empty text).
std::string LastCharacter(const std::string& text);

// The last n characters of a valid UTF-8 text (all of it if shorter).
std::string LastCharacters(const std::string& text, std::size_t n);

}  // namespace veldrisa
