// The text helpers against utf8proc read one character at a time, on valid and broken UTF-8.
#include "common/unicode.hpp"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace veldrisa {
namespace {

// The characters of a text as utf8proc reads them: an invalid byte is one character.
std::vector<std::string> Caracteres(const std::string& t) {
    std::vector<std::string> out;
    const auto* b = reinterpret_cast<const utf8proc_uint8_t*>(t.data());
    for (std::size_t i = 0; i < t.size();) {
        utf8proc_int32_t cp;
        auto n = utf8proc_iterate(b + i, static_cast<utf8proc_ssize_t>(t.size() - i), &cp);
        std::size_t len = n > 0 ? static_cast<std::size_t>(n) : 1;
        out.push_back(t.substr(i, len));
        i += len;
    }
    return out;
}

std::string MinusculasDeReferencia(const std::string& t) {
    std::string out;
    for (const auto& c : Caracteres(t)) {
        utf8proc_int32_t cp;
        if (utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(c.data()),
                             static_cast<utf8proc_ssize_t>(c.size()), &cp) <= 0) {
            out += c;
            continue;
        }
        utf8proc_uint8_t buf[4];
        out.append(reinterpret_cast<const char*>(buf),
                   static_cast<std::size_t>(utf8proc_encode_char(utf8proc_tolower(cp), buf)));
    }
    return out;
}

void EsperaComoLaReferencia(const std::string& t) {
    const auto cs = Caracteres(t);
    ASSERT_EQ(CuentaCaracteres(t), cs.size()) << t;
    ASSERT_EQ(Minusculas(t), MinusculasDeReferencia(t)) << t;
    std::string prefijo;
    for (std::size_t n = 0; n <= cs.size() + 1; ++n) {
        ASSERT_EQ(PrimerosCaracteres(t, n), prefijo) << t << ", " << n;
        ASSERT_EQ(MasDeNCaracteres(t, n), n < cs.size()) << t << ", " << n;
        if (n < cs.size()) prefijo += cs[n];
    }
}

TEST(Unicode, SpanishAndTheLettersWhoseLowerCaseHasAnotherLength) {
    EXPECT_EQ(Minusculas("ÁRBOL Ñandú ¿QUÉ? ¡ÜBER!"), "árbol ñandú ¿qué? ¡über!");
    EXPECT_EQ(Minusculas("İSTANBUL Ⱥ ΣΟΦΊΑ"), MinusculasDeReferencia("İSTANBUL Ⱥ ΣΟΦΊΑ"));
    EXPECT_EQ(PrimerosCaracteres("Sótano oscuro", 2), "Só");
    for (const char* t : {"", "A", "ÁRBOL Ñandú", "İSTANBUL Ⱥ ΣΟΦΊΑ", "𝐀𝐁 emoji 😀 fin", "a\r\nb\tc"})
        EsperaComoLaReferencia(t);
}

// A lower case of another length once shifted everything after it: 800,000 Kelvin signs took
// 10 s. Three million of them with İ between would take minutes that way; done in one pass,
// well under a second even instrumented.
TEST(Unicode, LowerCasingTakesTimeInProportionToTheText) {
    const std::string i = MinusculasDeReferencia("\u0130");
    std::string t, esperada;
    for (int n = 0; n < 1'000'000; ++n) {
        t += "\u212A\u212Ak\u0130";
        esperada += "kkk";
        esperada += i;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string baja = Minusculas(t);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(baja == esperada);
}

TEST(Unicode, EveryTwoByteStartAndBrokenSequences) {
    for (int lead = 0x80; lead <= 0xFF; ++lead)
        for (int next = 0; next <= 0xFF; next += 3)
            EsperaComoLaReferencia(std::string{'X', static_cast<char>(lead), static_cast<char>(next), 'Y'});
    // Truncated at the end, overlong, surrogates, beyond U+10FFFF.
    for (const char* t :
         {"ab\xC3", "\xE2\x82", "\xC0\xAF", "\xC1\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF\xFE"})
        EsperaComoLaReferencia(t);
}

TEST(Unicode, RandomMixturesOfBytesAndCharacters) {
    const std::vector<std::string> piezas = {"a", "Z", " ",    "Ñ",    "é",        "Ⱥ",   "İ",
                                             "€", "😀", "\x80", "\xC3", "\xE2\x82", "\xFF"};
    std::mt19937 azar(7);
    for (int k = 0; k < 2000; ++k) {
        std::string t;
        for (int n = std::uniform_int_distribution<int>(0, 40)(azar); n > 0; --n)
            t += piezas[std::uniform_int_distribution<std::size_t>(0, piezas.size() - 1)(azar)];
        EsperaComoLaReferencia(t);
    }
}

}  // namespace
}  // namespace veldrisa

namespace veldrisa {
namespace {

TEST(Unicode, ANameOfBlanksFormatCharactersOrLoneMarksHasNothingVisible) {
    for (const char* vacio : {"", "   ", "\t \xC2\xA0", "\xE2\x80\x8B\xE2\x80\x8D", "\xE2\x80\xAE", "\xCC\x81",
                              "\xE3\x80\x80", "\xEF\xBB\xBF", "\xF3\xA0\x80\x81"})
        EXPECT_FALSE(TieneVisibles(vacio)) << vacio;
    for (const char* nombre : {"a", " x ", "\xE2\x80\x8B" "7", "\xC3\xA9", "\xE2\x85\xAB", "\xF0\x9F\x90\x88", "\xFF", "."})
        EXPECT_TRUE(TieneVisibles(nombre)) << nombre;
}

TEST(Unicode, TypedTextLosesItsControlCharactersAndBrokenBytes) {
    EXPECT_EQ(TextoEscribible("Ana\x01\t\n\x7f\xC2\x85\xC2\xA0" "B"), "Ana\xC2\xA0" "B");
    EXPECT_EQ(TextoEscribible("x\xC3"), "x\xEF\xBF\xBD");
    const std::string t = "ñ a🐈z";  // 2, 1, 1, 4 and 1 bytes
    std::vector<std::size_t> adelante{0};
    while (adelante.back() < t.size()) adelante.push_back(CaracterSiguiente(t, adelante.back()));
    EXPECT_EQ(adelante, (std::vector<std::size_t>{0, 2, 3, 4, 8, 9}));
    std::vector<std::size_t> atras{t.size()};
    while (atras.back() > 0) atras.push_back(CaracterAnterior(t, atras.back()));
    EXPECT_EQ(atras, (std::vector<std::size_t>{9, 8, 4, 3, 2, 0}));
}

}  // namespace
}  // namespace veldrisa
