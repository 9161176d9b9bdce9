// Escaping and cutting input for the replay tool's error messages.
#include "replay/quoted.hpp"

#include <utf8proc.h>

namespace veldrisa {
namespace {

std::string Hex(unsigned value, int digits) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += Digits[(value >> shift) & 0xF];
    return out;
}

bool BidiControl(utf8proc_int32_t cp) {
    return cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069);
}

// One character of the input as it is shown; n is how many bytes it took.
std::string Shown(std::string_view text, std::size_t& n) {
    const auto c = static_cast<unsigned char>(text[0]);
    n = 1;
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\r': return "\\r";
        case '\n': return "\\n";
        case '\t': return "\\t";
        default: break;
    }
    if (c < 0x20 || c == 0x7F) return "\\x" + Hex(c, 2);
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    utf8proc_int32_t cp = -1;
    auto length = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                   static_cast<utf8proc_ssize_t>(text.size()), &cp);
    if (length <= 0) return "\\x" + Hex(c, 2);
    n = static_cast<std::size_t>(length);
    // The C1 controls include the terminal's own escape introducer (U+009B); the bidirectional
    // controls would make a terminal show the rest of the line reversed.
    if (cp < 0xA0 || BidiControl(cp)) return "\\u" + Hex(static_cast<unsigned>(cp), 4);
    return std::string(text.substr(0, n));
}

}  // namespace

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    std::size_t at = 0;
    for (std::size_t shown = 0; at < text.size() && shown < QuotedCharacters; ++shown) {
        std::size_t n = 0;
        out += Shown(text.substr(at), n);
        at += n;
    }
    out += '"';
    if (at < text.size()) out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

}  // namespace veldrisa
