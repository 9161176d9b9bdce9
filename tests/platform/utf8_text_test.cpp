// Cutting and cleaning UTF-8 by whole characters.
#include <gtest/gtest.h>

#include "platform/sdl/utf8_text.hpp"

namespace veldrisa {
namespace {

TEST(Utf8Text, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(ValidUtf8("Zoë"), "Zoë");
    EXPECT_EQ(ValidUtf8(""), "");
    EXPECT_EQ(ValidUtf8("a\xff" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(ValidUtf8("cut \xc3"), "cut \xEF\xBF\xBD") << "a character cut short at the end";
    EXPECT_EQ(ValidUtf8("\xed\xa0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "an encoded surrogate";
}

TEST(Utf8Text, TheLastCharactersAreWholeCharacters) {
    EXPECT_EQ(LastCharacter(""), "");
    EXPECT_EQ(LastCharacter("a"), "a");
    EXPECT_EQ(LastCharacter("Iñaki Muñoz"), "z");
    EXPECT_EQ(LastCharacter("señoría ñ"), "ñ");
    EXPECT_EQ(LastCharacter("gato 🐈"), "🐈");
    EXPECT_EQ(LastCharacters("andalú", 2), "lú");
    EXPECT_EQ(LastCharacters("ñú", 5), "ñú");
    EXPECT_EQ(LastCharacters("abc", 0), "");
}

}  // namespace
}  // namespace veldrisa
