// The Spanish words every platform's voice is given for the marks voices misread.
#include "platform/shared/spoken_punctuation.hpp"

#include <gtest/gtest.h>

namespace veldrisa {
namespace {

TEST(SpanishMarks, EllipsesBecomeWordsAndSpanishMarksStay) {
    EXPECT_EQ(SpanishMarks("pero... bien pensado…"),
              "pero puntos suspensivos  bien pensado puntos suspensivos ");
    // Four dots: the ellipsis and then the full stop, which espeak-ng names in Spanish.
    EXPECT_EQ(SpanishMarks("fin...."), "fin puntos suspensivos .");
    EXPECT_EQ(SpanishMarks("—¿Qué?"), " raya ¿Qué?");
    const std::string spanish = "¿Qué? ¡Zas! a, b. c: d; «e» (f) 'g' -h 50% \"i\" ñ á ü";
    EXPECT_EQ(SpanishMarks(spanish), spanish);
    EXPECT_EQ(SpanishMarks(""), "");
    // A broken multi-byte character is passed on untouched, not taken for a mark.
    EXPECT_EQ(SpanishMarks("a\xe2\x80"), "a\xe2\x80");
}

}  // namespace
}  // namespace veldrisa
