// The replay tool's input language: key names with modifiers, TEXT, CANCEL, STATE, the name
// field's own keys and typing (FIELD, TYPE), and an online table's journal: the seat that pressed
// each key, time-outs, characters handed to the computer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "audience/seat_filter.hpp"
#include "ports/keys.hpp"

namespace veldrisa {

// A key such as "ENTER", "CTRL+1", "SHIFT+ALT+F8", "KP3" or "VK186", already trimmed.
// On failure returns nothing and says why in problem.
std::optional<KeyEvent> ParseKey(std::string_view name, std::string& problem);

struct InputLine {
    // FieldKey and Type go to the open name field one key or one piece of typing at a time, as
    // the window hands them over: "FIELD LEFT", "FIELD CTRL+BACKSPACE", "TYPE Rosa".
    enum class Kind { Skip, Key, Text, Cancel, State, FieldKey, Type, TimeOut, Computer, Player, Invalid };
    Kind kind = Kind::Skip;
    KeyEvent key;      // of Key and FieldKey
    std::string text;  // the answer of Text, what Type types, the problem of Invalid
    // Key: the seat that pressed it ("@3,7 SPACE"), none for the shared keyboard.
    std::optional<Seat> seat;
    // Key: C or P about this one of the seat's characters ("@3,7 P 7"); Computer, Player: the
    // character handed to the computer or taken back.
    int character = 0;
};

// One line of input without its line feed; a trailing CR is dropped.
InputLine ParseLine(std::string_view line);

}  // namespace veldrisa
