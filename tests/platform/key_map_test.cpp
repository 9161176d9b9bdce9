// SDL key events to the game's key codes and modifier masks.
#include "platform/sdl/key_map.hpp"

#include <gtest/gtest.h>

namespace veldrisa {
namespace {

struct Case {
    const char* what;
    SDL_Keycode key;
    SDL_Scancode scancode;
    Uint16 modifiers;
    std::optional<KeyEvent> expected;
};

void Check(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto got = MapKey(c.key, c.scancode, c.modifiers);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->code, c.expected->code);
            EXPECT_EQ(got->mask, c.expected->mask);
        }
    }
}

TEST(KeyMap, KeysOfTheGame) {
    Check({
        {"Enter", SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, KeyEvent{Tecla::Enter, 0}},
        {"keypad Enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE, KeyEvent{Tecla::Enter, 0}},
        {"Escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, KeyEvent{Tecla::Escape, 0}},
        {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, KeyEvent{Tecla::Espacio, 0}},
        {"left", SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, KeyEvent{Tecla::Izquierda, 0}},
        {"up", SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, KeyEvent{Tecla::Arriba, 0}},
        {"right", SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE, KeyEvent{Tecla::Derecha, 0}},
        {"down", SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE, KeyEvent{Tecla::Abajo, 0}},
        {"F1", SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, KeyEvent{Tecla::F1, 0}},
        {"F2", SDLK_F2, SDL_SCANCODE_F2, KMOD_NONE, KeyEvent{Tecla::F2, 0}},
        {"F10", SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE, KeyEvent{Tecla::F10, 0}},
        {"F12", SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, KeyEvent{Tecla::F12, 0}},
        {"A", SDLK_a, SDL_SCANCODE_A, KMOD_NONE, KeyEvent{Tecla::A, 0}},
        {"C", SDLK_c, SDL_SCANCODE_C, KMOD_NONE, KeyEvent{Tecla::C, 0}},
        {"H", SDLK_h, SDL_SCANCODE_H, KMOD_NONE, KeyEvent{Tecla::H, 0}},
        {"Z", SDLK_z, SDL_SCANCODE_Z, KMOD_NONE, KeyEvent{Tecla::Z, 0}},
        {"keypad 0", SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, KeyEvent{Tecla::Numerico0, 0}},
        {"keypad 9", SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NUM, KeyEvent{Tecla::DigitoNumerico(9), 0}},
        {"media key", SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY, KMOD_NONE, std::nullopt},
    });
}

TEST(KeyMap, TopRowDigitsGoByPlaceOnEveryLayout) {
    Check({
        {"US 1", SDLK_1, SDL_SCANCODE_1, KMOD_NONE, KeyEvent{Tecla::Digito(1), 0}},
        {"US 0", SDLK_0, SDL_SCANCODE_0, KMOD_NONE, KeyEvent{Tecla::Cero, 0}},
        // French layouts print symbols on the digit row and need Shift for the digit.
        {"AZERTY 1 (&)", SDLK_AMPERSAND, SDL_SCANCODE_1, KMOD_NONE, KeyEvent{Tecla::Digito(1), 0}},
        {"AZERTY 2 (é)", 0xE9, SDL_SCANCODE_2, KMOD_NONE, KeyEvent{Tecla::Digito(2), 0}},
        {"AZERTY 9 (ç)", 0xE7, SDL_SCANCODE_9, KMOD_NONE, KeyEvent{Tecla::Nueve, 0}},
        {"AZERTY 0 (à)", 0xE0, SDL_SCANCODE_0, KMOD_NONE, KeyEvent{Tecla::Cero, 0}},
        {"Control+1 throws the card away", SDLK_1, SDL_SCANCODE_1, KMOD_LCTRL, KeyEvent{Tecla::Digito(1), ModControl}},
    });
}

TEST(KeyMap, LettersFollowTheLayoutAndFallBackToThePlace) {
    Check({
        {"AZERTY: the key where QWERTY has Q prints A", SDLK_a, SDL_SCANCODE_Q, KMOD_NONE, KeyEvent{Tecla::A, 0}},
        {"AZERTY: the key where QWERTY has M prints a comma", SDLK_COMMA, SDL_SCANCODE_M, KMOD_NONE,
         std::nullopt},
        {"Russian: the H key prints р", 0x440, SDL_SCANCODE_H, KMOD_NONE, KeyEvent{Tecla::H, 0}},
        {"Shift+h is still H", SDLK_h, SDL_SCANCODE_H, KMOD_LSHIFT, KeyEvent{Tecla::H, ModShift}},
    });
}

TEST(KeyMap, ModifierMask) {
    Check({
        {"Shift+F8", SDLK_F8, SDL_SCANCODE_F8, KMOD_LSHIFT, KeyEvent{Tecla::F8, ModShift}},
        {"right Control+F7", SDLK_F7, SDL_SCANCODE_F7, KMOD_RCTRL, KeyEvent{Tecla::F7, ModControl}},
        {"Alt+F4", SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT, KeyEvent{Tecla::F4, ModAlt}},
        {"all three", SDLK_F8, SDL_SCANCODE_F8, KMOD_LSHIFT | KMOD_RCTRL | KMOD_RALT, KeyEvent{Tecla::F8, ModShift | ModControl | ModAlt}},
        {"lock keys are not modifiers", SDLK_F8, SDL_SCANCODE_F8, KMOD_NUM | KMOD_CAPS, KeyEvent{Tecla::F8, 0}},
    });
}

TEST(KeyMap, AModifierKeyIsHeldWhileItGoesDown) {
    Check({
        {"left Control, state not yet updated", SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE, KeyEvent{Tecla::Control, ModControl}},
        {"right Control", SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_RCTRL, KeyEvent{Tecla::Control, ModControl}},
        {"Shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_NONE, KeyEvent{Tecla::Shift, ModShift}},
        {"Alt", SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE, KeyEvent{Tecla::Alt, ModAlt}},
        {"Control while Shift is held", SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LSHIFT, KeyEvent{Tecla::Control, ModShift | ModControl}},
    });
}

}  // namespace
}  // namespace veldrisa
