// UTF-8 decoding, encoding and lower-casing with utf8proc's exact results, for builds without utf8proc.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veldrisa::utf8case {

// One character whose lower case differs from it.
struct CaseMapping {
    std::int32_t from;
    std::int32_t to;
};

// Generated from utf8proc at build time, sorted by `from`.
extern const CaseMapping LowerCaseTable[];
extern const int LowerCaseTableSize;

// Reads one character as utf8proc_iterate does: its length, or -3 (utf8proc's "invalid
// UTF-8") with *cp = -1; 0 for an empty text.
std::ptrdiff_t Iterate(const std::uint8_t* text, std::ptrdiff_t length, std::int32_t* cp);
// Writes a code point as utf8proc_encode_char does: its length, 0 outside 0..0x10FFFF.
std::ptrdiff_t Encode(std::int32_t cp, std::uint8_t* out);
// The lower case of a code point; the code point itself when it has none.
std::int32_t ToLower(std::int32_t cp);

}  // namespace veldrisa::utf8case
