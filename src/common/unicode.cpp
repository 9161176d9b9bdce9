// Unicode helpers on top of utf8proc.
#include "common/unicode.hpp"

#include <utf8proc.h>

namespace veldrisa {
namespace {

// Calls f(codepoint or -1, start, length) for each character; an invalid byte is one
// character of length 1. Plain ASCII, most of every message, skips the decoder.
template <typename F>
void RecorreCaracteres(const std::string& texto, F f) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(texto.data());
    std::size_t i = 0;
    while (i < texto.size()) {
        if (bytes[i] < 0x80) {
            if (!f(bytes[i], i, 1)) return;
            ++i;
            continue;
        }
        utf8proc_int32_t cp = -1;
        auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(texto.size() - i), &cp);
        std::size_t len = n > 0 ? static_cast<std::size_t>(n) : 1;
        if (!f(n > 0 ? cp : -1, i, len)) return;
        i += len;
    }
}

}  // namespace

std::size_t CuentaCaracteres(const std::string& texto) {
    std::size_t n = 0;
    RecorreCaracteres(texto, [&](utf8proc_int32_t, std::size_t, std::size_t) {
        ++n;
        return true;
    });
    return n;
}

std::string Minusculas(const std::string& texto) {
    // Lowering keeps the length of ASCII letters and of nearly every other character, so a
    // copy is lowered in place, its ASCII letters first in one plain pass; a character whose
    // lowered form has another length moves the rest of the text, which is rare.
    std::string out = texto;
    for (char& c : out) c = static_cast<char>(c + (c >= 'A' && c <= 'Z' ? 'a' - 'A' : 0));
    for (std::size_t i = 0; i < out.size();) {
        const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(out.data());
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        utf8proc_int32_t cp = -1;
        auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(out.size() - i), &cp);
        if (n <= 0) {
            ++i;
            continue;
        }
        utf8proc_uint8_t buf[4];
        auto m = static_cast<std::size_t>(utf8proc_encode_char(utf8proc_tolower(cp), buf));
        out.replace(i, static_cast<std::size_t>(n), reinterpret_cast<const char*>(buf), m);
        i += m;
    }
    return out;
}

std::string PrimerosCaracteres(const std::string& texto, std::size_t n) {
    std::size_t fin = 0;
    std::size_t cuenta = 0;
    RecorreCaracteres(texto, [&](utf8proc_int32_t, std::size_t at, std::size_t len) {
        if (cuenta == n) return false;
        ++cuenta;
        fin = at + len;
        return true;
    });
    return texto.substr(0, fin);
}

}  // namespace veldrisa
