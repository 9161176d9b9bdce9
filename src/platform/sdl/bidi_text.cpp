// Logical to visual order through GNU FriBidi.
#include "platform/sdl/bidi_text.hpp"

#include <fribidi.h>

#include <vector>

namespace veldrisa {

std::string VisualOrder(std::string_view line, LineDirection direction) {
    if (line.empty()) return "";
    // At most one code point per byte, and room for a terminating NUL.
    std::vector<FriBidiChar> logical(line.size() + 1);
    const FriBidiStrIndex length = fribidi_charset_to_unicode(
        FRIBIDI_CHAR_SET_UTF8, line.data(), static_cast<FriBidiStrIndex>(line.size()), logical.data());
    std::vector<FriBidiChar> visual(static_cast<std::size_t>(length) + 1);
    FriBidiParType base = direction == LineDirection::LeftToRight ? FRIBIDI_PAR_LTR : FRIBIDI_PAR_ON;
    if (fribidi_log2vis(logical.data(), length, &base, visual.data(), nullptr, nullptr, nullptr) == 0)
        return std::string(line);
    // Four bytes at most for each character, and the terminating NUL fribidi writes.
    std::string out(4 * static_cast<std::size_t>(length) + 1, '\0');
    out.resize(static_cast<std::size_t>(
        fribidi_unicode_to_charset(FRIBIDI_CHAR_SET_UTF8, visual.data(), length, out.data())));
    return out;
}

}  // namespace veldrisa
