// Unicode helpers on top of utf8proc.
#include "common/unicode.hpp"

#include <utf8proc.h>

namespace veldrisa {
namespace {

// The length of the character that starts at i, and its code point (-1 for an invalid byte,
// which is a character of length 1). ASCII, most of every message, skips the decoder.
std::size_t Caracter(std::string_view texto, std::size_t i, utf8proc_int32_t& cp) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(texto.data());
    if (bytes[i] < 0x80) {
        cp = bytes[i];
        return 1;
    }
    const auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(texto.size() - i), &cp);
    if (n > 0) return static_cast<std::size_t>(n);
    cp = -1;
    return 1;
}

// Where the first n characters end, or npos when the text has n or fewer.
std::size_t FinDeNCaracteres(std::string_view texto, std::size_t n) {
    utf8proc_int32_t cp;
    std::size_t i = 0;
    for (std::size_t cuenta = 0; i < texto.size() && cuenta < n; ++cuenta) i += Caracter(texto, i, cp);
    return i < texto.size() ? i : std::string_view::npos;
}

}  // namespace

std::size_t CuentaCaracteres(std::string_view texto) {
    utf8proc_int32_t cp;
    std::size_t n = 0;
    for (std::size_t i = 0; i < texto.size(); ++n) i += Caracter(texto, i, cp);
    return n;
}

bool MasDeNCaracteres(std::string_view texto, std::size_t n) {
    return FinDeNCaracteres(texto, n) != std::string_view::npos;
}

std::string Minusculas(std::string_view texto) {
    // Written anew character by character: a lower case of another length (the Kelvin sign's,
    // İ's) then costs no shift of everything after it. ASCII, most of every message, skips the
    // decoder.
    std::string out;
    out.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        utf8proc_int32_t cp;
        const std::size_t n = Caracter(texto, i, cp);
        const utf8proc_int32_t baja =
            cp < 0x80 ? cp + (cp >= 'A' && cp <= 'Z' ? 'a' - 'A' : 0) : utf8proc_tolower(cp);
        if (baja == cp) {
            out.append(texto, i, n);
        } else {
            utf8proc_uint8_t buf[4];
            out.append(reinterpret_cast<const char*>(buf),
                       static_cast<std::size_t>(utf8proc_encode_char(baja, buf)));
        }
        i += n;
    }
    return out;
}

std::string_view PrimerosCaracteres(std::string_view texto, std::size_t n) {
    return texto.substr(0, FinDeNCaracteres(texto, n));
}

}  // namespace veldrisa
