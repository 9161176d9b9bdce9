// Turning SDL key events into the game's key codes and modifier mask.
#pragma once

#include <SDL2/SDL.h>

#include <optional>

#include "ports/keys.hpp"

namespace veldrisa {

// None for keys the game has no code for. Top-row digits go by their place on the keyboard,
// so they work on every layout; letters go by what the layout prints on them.
std::optional<KeyEvent> MapKey(SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers);

}  // namespace veldrisa
