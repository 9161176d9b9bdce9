// The replay tool's line count: every line counted, far past where a 32-bit count would wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

#include "replay/line_reader.hpp"

namespace veldrisa {
namespace {

TEST(LineReader, CountsBlankAndCommentLinesButReturnsOnlyTheOthers) {
    std::istringstream in("\n# a comment\r\nSPACE\n\n  \nSTATE");
    LineReader reader(in);
    auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->number, 3u);
    EXPECT_EQ(first->parsed.kind, InputLine::Kind::Key);
    auto second = reader.next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->number, 6u);
    EXPECT_EQ(second->parsed.kind, InputLine::Kind::State);
    EXPECT_FALSE(reader.next());
}

TEST(LineReader, CountsOnAcrossTheSignedAndUnsignedThirtyTwoBitEnds) {
    for (std::uint64_t before : {std::uint64_t{INT32_MAX}, std::uint64_t{UINT32_MAX}}) {
        std::istringstream in("\nBOGUS\n");
        LineReader reader(in, before);
        auto line = reader.next();
        ASSERT_TRUE(line);
        EXPECT_EQ(line->number, before + 2) << "counting from " << before;
        EXPECT_EQ(line->parsed.kind, InputLine::Kind::Invalid);
    }
}

}  // namespace
}  // namespace veldrisa
