// The Windows build's stand-in for utf8proc against utf8proc itself, on every code point and byte sequence.
#include "utf8case/utf8case.hpp"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <array>
#include <cstdint>
#include <vector>

namespace veldrisa::utf8case {
namespace {

// Just past the last code point, and the negative values the game passes for invalid bytes.
constexpr std::int32_t Primero = -2, Ultimo = 0x110010;

TEST(Utf8Case, LowersEveryCodePointAsUtf8procDoes) {
    int distintos = 0;
    for (std::int32_t c = Primero; c <= Ultimo; ++c) {
        if (ToLower(c) != utf8proc_tolower(c) && ++distintos <= 5)
            ADD_FAILURE() << std::hex << "U+" << c << ": " << ToLower(c) << " instead of "
                          << utf8proc_tolower(c);
    }
    EXPECT_EQ(distintos, 0);
    // The letters the game speaks most, and the characters where the system's own lowering differs.
    EXPECT_EQ(ToLower(U'Ñ'), U'ñ');
    EXPECT_EQ(ToLower(U'Ó'), U'ó');
    EXPECT_EQ(ToLower(0x130), utf8proc_tolower(0x130));    // capital I with dot above
    EXPECT_EQ(ToLower(0x1E9E), utf8proc_tolower(0x1E9E));  // capital sharp s
}

TEST(Utf8Case, EncodesEveryCodePointAsUtf8procDoes) {
    for (std::int32_t c = Primero; c <= Ultimo; ++c) {
        std::array<std::uint8_t, 4> ours{}, theirs{};
        const auto n = Encode(c, ours.data());
        ASSERT_EQ(n, utf8proc_encode_char(c, theirs.data())) << std::hex << "U+" << c;
        ASSERT_EQ(ours, theirs) << std::hex << "U+" << c;
    }
}

// Both readers on the first `length` bytes of `bytes`: the same length or error, the same code point.
void ExpectSameReading(const std::vector<std::uint8_t>& bytes, std::size_t length, int& fallos) {
    std::int32_t ours = 7, theirs = 7;
    const auto n = Iterate(bytes.data(), static_cast<std::ptrdiff_t>(length), &ours);
    const auto m = utf8proc_iterate(bytes.data(), static_cast<utf8proc_ssize_t>(length), &theirs);
    if ((n != m || ours != theirs) && ++fallos <= 5) {
        std::string escrito;
        for (std::size_t i = 0; i < length; ++i) escrito += std::to_string(bytes[i]) + " ";
        ADD_FAILURE() << "bytes " << escrito << ": " << n << "/" << ours << " instead of " << m << "/"
                      << theirs;
    }
}

TEST(Utf8Case, ReadsEverySequenceOfUpToThreeBytesAsUtf8procDoes) {
    int fallos = 0;
    std::vector<std::uint8_t> b(3);
    for (int x = 0; x < 256; ++x) {
        b[0] = static_cast<std::uint8_t>(x);
        ExpectSameReading(b, 0, fallos);
        ExpectSameReading(b, 1, fallos);
        for (int y = 0; y < 256; ++y) {
            b[1] = static_cast<std::uint8_t>(y);
            ExpectSameReading(b, 2, fallos);
            for (int z = 0; z < 256; ++z) {
                b[2] = static_cast<std::uint8_t>(z);
                ExpectSameReading(b, 3, fallos);
            }
        }
    }
    EXPECT_EQ(fallos, 0);
}

TEST(Utf8Case, ReadsFourByteSequencesAndTheirCutsAsUtf8procDoes) {
    int fallos = 0;
    std::vector<std::uint8_t> b(4);
    for (int x = 0xE0; x < 256; ++x) {
        b[0] = static_cast<std::uint8_t>(x);
        for (int y = 0; y < 256; ++y) {
            b[1] = static_cast<std::uint8_t>(y);
            for (int z = 0; z < 256; ++z) {
                b[2] = static_cast<std::uint8_t>(z);
                for (int w : {0x00, 0x7F, 0x80, 0xBF, 0xC0, 0xFF}) {
                    b[3] = static_cast<std::uint8_t>(w);
                    ExpectSameReading(b, 4, fallos);
                }
            }
        }
    }
    EXPECT_EQ(fallos, 0);
}

}  // namespace
}  // namespace veldrisa::utf8case
