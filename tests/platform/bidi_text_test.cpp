// Right-to-left names put into the order they are drawn in.
#include "platform/sdl/bidi_text.hpp"

#include <gtest/gtest.h>

namespace veldrisa {
namespace {

TEST(VisualOrder, RightToLeftRunsAreReversedAndTheRestKeepsItsPlace) {
    for (auto direction : {LineDirection::LeftToRight, LineDirection::FirstStrong}) {
        EXPECT_EQ(VisualOrder("", direction), "");
        EXPECT_EQ(VisualOrder("Ana Zoë 🐈 (3)", direction), "Ana Zoë 🐈 (3)");
        EXPECT_EQ(VisualOrder("אבג", direction), "גבא");
        EXPECT_EQ(VisualOrder("אבג דה", direction), "הד גבא");
    }
    // Inside a Spanish line the name turns around where it stands.
    EXPECT_EQ(VisualOrder("Ana y אבג eligen la sala 2", LineDirection::LeftToRight),
              "Ana y גבא eligen la sala 2");
    // A name on its own runs the way of its first letter: a number stays at its end, on the
    // left, and the brackets keep facing the text they enclose.
    EXPECT_EQ(VisualOrder("אבג 12", LineDirection::FirstStrong), "12 גבא");
    EXPECT_EQ(VisualOrder("1. אבג", LineDirection::LeftToRight), "1. גבא");
    EXPECT_EQ(VisualOrder("1. אבג", LineDirection::FirstStrong), "גבא .1");
    EXPECT_EQ(VisualOrder("אב (ג)", LineDirection::FirstStrong), "(ג) בא");
}

}  // namespace
}  // namespace veldrisa
