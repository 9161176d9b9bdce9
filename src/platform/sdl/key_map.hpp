// Turning SDL key events into the game's key codes and modifier mask.
#pragma once

#include <SDL2/SDL.h>

#include <optional>

namespace veldrisa {

// A key as the game takes it: a Windows virtual-key code and the mask 1 Shift, 2 Control, 4 Alt.
struct KeyPress {
    int code = 0;
    int mask = 0;
    bool operator==(const KeyPress&) const = default;
};

// None for keys the game has no code for. Top-row digits go by their place on the keyboard,
// so they work on every layout; letters go by what the layout prints on them.
std::optional<KeyPress> MapKey(SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers);

}  // namespace veldrisa
