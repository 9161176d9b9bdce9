// UTF-8 inside the game, UTF-16 at every Windows call: the conversions between them.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// Invalid UTF-8 becomes U+FFFD, as everywhere the game shows or speaks text.
std::wstring WideFromUtf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace veldrisa
