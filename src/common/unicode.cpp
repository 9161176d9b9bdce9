// Unicode helpers on top of utf8proc.
#include "common/unicode.hpp"

#include <utf8proc.h>

namespace veldrisa {
namespace {

// Calls f(codepoint or -1, start, length) for each character until f returns false; an
// invalid byte is one character of length 1. Plain ASCII, most of every message, skips the
// decoder.
template <typename F>
void RecorreCaracteres(std::string_view texto, F f) {
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

// Where the first n characters end, or npos when the text has n or fewer.
std::size_t FinDeNCaracteres(std::string_view texto, std::size_t n) {
    std::size_t fin = std::string_view::npos;
    std::size_t cuenta = 0;
    RecorreCaracteres(texto, [&](utf8proc_int32_t, std::size_t at, std::size_t) {
        if (cuenta == n) {
            fin = at;
            return false;
        }
        ++cuenta;
        return true;
    });
    return fin;
}

}  // namespace

std::size_t CuentaCaracteres(std::string_view texto) {
    std::size_t n = 0;
    RecorreCaracteres(texto, [&](utf8proc_int32_t, std::size_t, std::size_t) {
        ++n;
        return true;
    });
    return n;
}

bool MasDeNCaracteres(std::string_view texto, std::size_t n) {
    return FinDeNCaracteres(texto, n) != std::string_view::npos;
}

std::string Minusculas(std::string_view texto) {
    // A character whose lowered form has another length is written anew; nearly all keep it,
    // so the text is copied once and lowered in place.
    std::string out(texto);
    for (std::size_t i = 0; i < out.size();) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + ('a' - 'A'));
            ++i;
            continue;
        }
        const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(out.data());
        utf8proc_int32_t cp = -1;
        auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(out.size() - i), &cp);
        if (n <= 0) {
            ++i;
            continue;
        }
        const utf8proc_int32_t baja = utf8proc_tolower(cp);
        if (baja == cp) {
            i += static_cast<std::size_t>(n);
            continue;
        }
        utf8proc_uint8_t buf[4];
        auto m = static_cast<std::size_t>(utf8proc_encode_char(baja, buf));
        out.replace(i, static_cast<std::size_t>(n), reinterpret_cast<const char*>(buf), m);
        i += m;
    }
    return out;
}

std::string_view PrimerosCaracteres(std::string_view texto, std::size_t n) {
    return texto.substr(0, FinDeNCaracteres(texto, n));
}

}  // namespace veldrisa
