// UTF-8 reading and writing by utf8proc's rules, and the lower case looked up in the generated table.
#include "utf8case/utf8case.hpp"

#include <algorithm>

namespace veldrisa::utf8case {
namespace {

constexpr std::ptrdiff_t Invalid = -3;

bool Continuation(std::uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::ptrdiff_t Iterate(const std::uint8_t* text, std::ptrdiff_t length, std::int32_t* cp) {
    *cp = -1;
    if (length == 0) return 0;
    const std::ptrdiff_t available = length < 0 ? 4 : length;
    const std::uint8_t lead = text[0];
    if (lead < 0x80) {
        *cp = lead;
        return 1;
    }
    // Lead bytes 0x80..0xC1 (continuations, overlong two-byte forms) and above 0xF4 never start a character.
    if (lead < 0xC2 || lead > 0xF4) return Invalid;
    const std::ptrdiff_t size = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (available < size) return Invalid;
    for (std::ptrdiff_t i = 1; i < size; ++i)
        if (!Continuation(text[i])) return Invalid;
    std::int32_t value = lead & (0x7F >> size);
    for (std::ptrdiff_t i = 1; i < size; ++i) value = (value << 6) | (text[i] & 0x3F);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    const bool overlong = (size == 3 && value < 0x800) || (size == 4 && value < 0x10000);
    if (surrogate || overlong || value > 0x10FFFF) return Invalid;
    *cp = value;
    return size;
}

std::ptrdiff_t Encode(std::int32_t cp, std::uint8_t* out) {
    if (cp < 0 || cp > 0x10FFFF) return 0;
    if (cp < 0x80) {
        out[0] = static_cast<std::uint8_t>(cp);
        return 1;
    }
    const std::ptrdiff_t size = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    for (std::ptrdiff_t i = size - 1; i > 0; --i, cp >>= 6)
        out[i] = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
    static constexpr std::uint8_t Lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out[0] = static_cast<std::uint8_t>(Lead[size] | cp);
    return size;
}

std::int32_t ToLower(std::int32_t cp) {
    const CaseMapping* end = LowerCaseTable + LowerCaseTableSize;
    const CaseMapping* it = std::lower_bound(LowerCaseTable, end, cp,
                                             [](const CaseMapping& m, std::int32_t c) { return m.from < c; });
    return it != end && it->from == cp ? it->to : cp;
}

}  // namespace veldrisa::utf8case
