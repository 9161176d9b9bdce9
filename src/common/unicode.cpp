// Unicode helpers on top of utf8proc.
#include "common/unicode.hpp"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace veldrisa {
namespace {

// The length of the character that starts at i, and its code point (-1 for an invalid byte,
// which is a character of length 1). ASCII and the two-byte characters, every Spanish letter,
// are read here; longer ones go to the decoder.
std::size_t Caracter(std::string_view texto, std::size_t i, utf8proc_int32_t& cp) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(texto.data());
    const utf8proc_uint8_t b = bytes[i];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF && i + 1 < texto.size() && (bytes[i + 1] & 0xC0) == 0x80) {
        cp = ((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
        return 2;
    }
    const auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(texto.size() - i), &cp);
    if (n > 0) return static_cast<std::size_t>(n);
    cp = -1;
    return 1;
}

// The lower case of a character. Those of two bytes, every accented Spanish letter among them,
// are asked of utf8proc once for all and looked up afterwards.
utf8proc_int32_t Minuscula(utf8proc_int32_t cp) {
    constexpr utf8proc_int32_t Desde = 0x80, Hasta = 0x800;
    static const auto dosBytes = [] {
        std::array<utf8proc_int32_t, Hasta - Desde> t{};
        for (utf8proc_int32_t c = Desde; c < Hasta; ++c)
            t[static_cast<std::size_t>(c - Desde)] = utf8proc_tolower(c);
        return t;
    }();
    if (cp >= Desde && cp < Hasta) return dosBytes[static_cast<std::size_t>(cp - Desde)];
    return utf8proc_tolower(cp);
}

// The first byte at or after i that is not ASCII, or the end; eight bytes are looked at a time.
std::size_t SiguienteNoAscii(std::string_view texto, std::size_t i) {
    constexpr std::uint64_t Altos = 0x8080808080808080u;
    for (std::uint64_t ocho; i + 8 <= texto.size(); i += 8) {
        std::memcpy(&ocho, texto.data() + i, 8);
        if (const std::uint64_t altos = ocho & Altos) {
            // The first byte in memory is the lowest on a little-endian processor.
            if constexpr (std::endian::native == std::endian::little) return i + std::countr_zero(altos) / 8;
            break;
        }
    }
    while (i < texto.size() && static_cast<unsigned char>(texto[i]) < 0x80) ++i;
    return i;
}

// Where the first n characters end, or npos when the text has n or fewer.
std::size_t FinDeNCaracteres(std::string_view texto, std::size_t n) {
    utf8proc_int32_t cp;
    std::size_t i = 0, cuenta = 0;
    while (i < texto.size() && cuenta < n) {
        // A run of ASCII, one character a byte, is passed over at once, as far as needed.
        const std::size_t ascii = SiguienteNoAscii(texto.substr(0, i + (n - cuenta)), i) - i;
        i += ascii;
        cuenta += ascii;
        if (ascii == 0) {
            i += Caracter(texto, i, cp);
            ++cuenta;
        }
    }
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
    // The ASCII letters, most of every message, are lowered in one plain pass; then each other
    // character is lowered in place, or written anew in the rare case its lowered form has
    // another length.
    std::string out(texto);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(u + (static_cast<unsigned char>(u - 'A') < 26 ? 'a' - 'A' : 0));
    }
    for (std::size_t i = SiguienteNoAscii(out, 0); i < out.size(); i = SiguienteNoAscii(out, i)) {
        utf8proc_int32_t cp;
        const std::size_t n = Caracter(out, i, cp);
        const utf8proc_int32_t baja = cp < 0 ? cp : Minuscula(cp);
        if (baja == cp) {
            i += n;
            continue;
        }
        utf8proc_uint8_t buf[4];
        const auto m = static_cast<std::size_t>(utf8proc_encode_char(baja, buf));
        out.replace(i, n, reinterpret_cast<const char*>(buf), m);
        i += m;
    }
    return out;
}

std::string_view PrimerosCaracteres(std::string_view texto, std::size_t n) {
    return texto.substr(0, FinDeNCaracteres(texto, n));
}

}  // namespace veldrisa
