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

namespace veldrisa {

std::string TextoEscribible(std::string_view texto) {
    std::string out;
    out.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        utf8proc_int32_t cp;
        const std::size_t n = Caracter(texto, i, cp);
        const bool control = (cp >= 0 && cp < 0x20) || (cp >= 0x7F && cp < 0xA0);
        if (cp < 0)
            out += "\xEF\xBF\xBD";
        else if (!control)
            out.append(texto.substr(i, n));
        i += n;
    }
    return out;
}

namespace {

// What shows nothing and says nothing: blanks, format and bidirectional controls, joiners,
// combining marks on their own, variation selectors and tags. A table of its own rather than
// utf8proc's categories, which the Windows build does not have: both platforms judge alike.
struct Intervalo {
    utf8proc_int32_t desde, hasta;
};
constexpr Intervalo Invisibles[] = {
    {0x0000, 0x0020}, {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0300, 0x036F}, {0x061C, 0x061C},
    {0x115F, 0x1160}, {0x1680, 0x1680},   {0x180B, 0x180F},   {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x2000, 0x200F}, {0x2028, 0x202F},   {0x205F, 0x206F},   {0x20D0, 0x20FF}, {0x3000, 0x3000},
    {0x3164, 0x3164}, {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F},   {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0},
    {0xFFF0, 0xFFFB}, {0xE0000, 0xE007F}, {0xE0100, 0xE01EF},
};

bool Invisible(utf8proc_int32_t cp) {
    for (const auto& i : Invisibles)
        if (cp >= i.desde && cp <= i.hasta) return true;
    return false;
}

}  // namespace

bool TieneVisibles(std::string_view texto) {
    for (std::size_t i = 0; i < texto.size();) {
        utf8proc_int32_t cp;
        i += Caracter(texto, i, cp);
        if (cp < 0 || !Invisible(cp)) return true;
    }
    return false;
}

std::size_t CaracterAnterior(std::string_view texto, std::size_t i) {
    if (i == 0) return 0;
    --i;
    while (i > 0 && (static_cast<unsigned char>(texto[i]) & 0xC0) == 0x80) --i;
    return i;
}

std::size_t CaracterSiguiente(std::string_view texto, std::size_t i) {
    if (i >= texto.size()) return texto.size();
    utf8proc_int32_t cp;
    return i + Caracter(texto, i, cp);
}

}  // namespace veldrisa
