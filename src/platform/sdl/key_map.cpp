// The table from SDL keys to Windows virtual-key codes.
#include "platform/sdl/key_map.hpp"

namespace veldrisa {
namespace {

constexpr int MaskShift = 1;
constexpr int MaskControl = 2;
constexpr int MaskAlt = 4;

int Mask(SDL_Keycode key, Uint16 modifiers) {
    int mask = 0;
    if (modifiers & KMOD_SHIFT) mask |= MaskShift;
    if (modifiers & KMOD_CTRL) mask |= MaskControl;
    if (modifiers & KMOD_ALT) mask |= MaskAlt;
    // A modifier key counts as held while it goes down, whatever the event's state says.
    switch (key) {
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: mask |= MaskShift; break;
    case SDLK_LCTRL:
    case SDLK_RCTRL: mask |= MaskControl; break;
    case SDLK_LALT:
    case SDLK_RALT: mask |= MaskAlt; break;
    default: break;
    }
    return mask;
}

std::optional<int> Code(SDL_Keycode key, SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    // Layouts without Latin letters still give the letter keys their place's letter.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z && !(key >= 0x20 && key < 0x7F))
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_KP_0: return 96;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<KeyPress> MapKey(SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers) {
    std::optional<int> code = Code(key, scancode);
    if (!code) return std::nullopt;
    return KeyPress{*code, Mask(key, modifiers)};
}

}  // namespace veldrisa
