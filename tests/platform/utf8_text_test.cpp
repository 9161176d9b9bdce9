// Cutting and cleaning UTF-8 by whole characters.
#include "platform/sdl/utf8_text.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace veldrisa {
namespace {

TEST(Utf8Text, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(ValidUtf8("Zoë"), "Zoë");
    EXPECT_EQ(ValidUtf8(""), "");
    EXPECT_EQ(ValidUtf8("a\xff"
                        "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(ValidUtf8("cut \xc3"), "cut \xEF\xBF\xBD") << "a character cut short at the end";
    EXPECT_EQ(ValidUtf8("\xed\xa0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD") << "an encoded surrogate";
}

TEST(Utf8Text, TheCursorStepsOverWholeCharacters) {
    const std::string text = "ñ a🐈z";  // 2, 1, 1, 4 and 1 bytes
    std::vector<std::size_t> forward{0};
    while (forward.back() < text.size()) forward.push_back(NextCharacter(text, forward.back()));
    EXPECT_EQ(forward, (std::vector<std::size_t>{0, 2, 3, 4, 8, 9}));
    std::vector<std::size_t> back{text.size()};
    while (back.back() > 0) back.push_back(PreviousCharacter(text, back.back()));
    EXPECT_EQ(back, (std::vector<std::size_t>{9, 8, 4, 3, 2, 0}));
    EXPECT_EQ(NextCharacter(text, 99), text.size());
    EXPECT_EQ(PreviousCharacter("", 0), 0u);
    EXPECT_EQ(NextCharacter("", 0), 0u);
}

}  // namespace
}  // namespace veldrisa
