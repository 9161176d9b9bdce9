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
    std::string out;
    out.reserve(texto.size());
    RecorreCaracteres(texto, [&](utf8proc_int32_t cp, std::size_t at, std::size_t len) {
        if (cp < 0) {
            out.append(texto, at, len);
            return true;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + ('a' - 'A') : cp);
            return true;
        }
        utf8proc_uint8_t buf[4];
        auto n = utf8proc_encode_char(utf8proc_tolower(cp), buf);
        out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
        return true;
    });
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
