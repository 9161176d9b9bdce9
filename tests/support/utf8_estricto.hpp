// A strict UTF-8 check, written apart from the program's own decoder, for what the tools write.
#pragma once

#include <cstddef>
#include <string_view>

namespace veldrisa::prueba {

// Shortest forms only, no encoded surrogates, nothing past U+10FFFF.
inline bool Utf8Estricto(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
        const unsigned c = b(0);
        const std::size_t n = c < 0x80                   ? 1
                              : (c >= 0xC2 && c <= 0xDF) ? 2
                              : (c >= 0xE0 && c <= 0xEF) ? 3
                              : (c >= 0xF0 && c <= 0xF4) ? 4
                                                         : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((b(k) & 0xC0) != 0x80) return false;
        if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) || (c == 0xF0 && b(1) < 0x90) ||
            (c == 0xF4 && b(1) > 0x8F))
            return false;
        i += n;
    }
    return true;
}

}  // namespace veldrisa::prueba
