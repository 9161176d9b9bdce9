// The part of utf8proc's interface the game uses, for builds where utf8proc itself is missing
// (Windows): the same results, from a table generated out of the host's utf8proc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "utf8case/utf8case.hpp"

using utf8proc_int32_t = std::int32_t;
using utf8proc_uint8_t = std::uint8_t;
using utf8proc_ssize_t = std::ptrdiff_t;

inline utf8proc_ssize_t utf8proc_iterate(const utf8proc_uint8_t* text, utf8proc_ssize_t length,
                                         utf8proc_int32_t* cp) {
    return veldrisa::utf8case::Iterate(text, length, cp);
}
inline utf8proc_ssize_t utf8proc_encode_char(utf8proc_int32_t cp, utf8proc_uint8_t* out) {
    return veldrisa::utf8case::Encode(cp, out);
}
inline utf8proc_int32_t utf8proc_tolower(utf8proc_int32_t cp) { return veldrisa::utf8case::ToLower(cp); }
