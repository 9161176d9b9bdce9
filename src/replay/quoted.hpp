// Input echoed in an error message without letting it take over the terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veldrisa {

// Characters of the offending input shown at most: enough to recognise a line.
inline constexpr std::size_t QuotedCharacters = 40;

// The text in double quotes, cut after QuotedCharacters characters (with "..." and the whole
// length after the closing quote), control characters, quotes, backslashes and bytes that are
// not UTF-8 written as escapes: `"ENTER\x00"`, `"\x1b]0;title\x07"`.
std::string Quoted(std::string_view text);

}  // namespace veldrisa
