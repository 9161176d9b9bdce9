// Text from outside made valid UTF-8.
#include "platform/shared/valid_utf8.hpp"

#include <gtest/gtest.h>


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

}  // namespace
}  // namespace veldrisa
