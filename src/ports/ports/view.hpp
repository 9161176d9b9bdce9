// What the window shows of the program, the same on every platform: each window draws it.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace veldrisa {

// The setup screen: the characters 1..10, their selection and the cursor.
struct SetupView {
    std::array<std::string, 10> names;
    std::array<bool, 10> selected{};
    int cursor = 1;    // 1..10
    std::string help;  // the keys that work now, one line, wrapped as it needs
};

// The game screen: the text log.
struct LogView {
    std::string text;  // UTF-8, lines broken by \r\n
    std::string help;  // the keys that work now, kept at the foot of the window
};

// A text field open over the screen, such as the name field.
struct FieldView {
    std::string title;
    std::string prompt;
    std::string text;        // valid UTF-8
    std::size_t cursor = 0;  // a byte offset into text, at the start of a character
    bool selected = false;   // the whole text is selected: the next character replaces it
};

struct View {
    std::variant<std::monostate, SetupView, LogView> screen;
    std::optional<FieldView> field;
};

}  // namespace veldrisa
