// UTF-8 helpers for text that reaches espeak-ng, the font renderer and the name field.
#pragma once

#include <string>

#include "platform/shared/valid_utf8.hpp"

namespace veldrisa {

// In a valid UTF-8 text, where the character that ends at byte `at` starts (0 at the start).
std::size_t PreviousCharacter(const std::string& text, std::size_t at);
// In a valid UTF-8 text, where the character that starts at byte `at` ends (the end at the end).
std::size_t NextCharacter(const std::string& text, std::size_t at);

}  // namespace veldrisa
