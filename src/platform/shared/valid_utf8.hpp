// Text from outside the program made safe to show, speak and write out as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD. A name typed
// into the dialog is taken this way on every platform and in the replay tool alike.
std::string ValidUtf8(std::string_view text);

}  // namespace veldrisa
