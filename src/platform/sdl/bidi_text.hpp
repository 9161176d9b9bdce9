// Right-to-left text (Hebrew, Arabic) in the order the font draws it, left to right.
#pragma once

#include <string>
#include <string_view>

namespace veldrisa {

// Which way a line runs before its text is looked at.
enum class LineDirection {
    LeftToRight,  // the game's own lines, Spanish, with a name inside
    FirstStrong,  // a name on its own: the way of its first letter that has one
};

// A line of valid UTF-8 in logical order (as typed and stored) put into visual order by the
// Unicode bidirectional algorithm (GNU FriBidi): right-to-left runs reversed, their brackets
// mirrored and Arabic letters in their joined forms. Lines without such text are unchanged.
std::string VisualOrder(std::string_view line, LineDirection direction);

}  // namespace veldrisa
