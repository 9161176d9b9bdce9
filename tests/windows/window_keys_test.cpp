// The Windows window's keys: the codes and masks the game takes.
#include <gtest/gtest.h>

#include "platform/win32/game_window.hpp"

namespace veldrisa {
namespace {

TEST(GameKey, GivesTheVirtualKeyCodesTheGameUsesWithTheirMask) {
    EXPECT_EQ(GameKey('7', false, false, false), (KeyEvent{Tecla::Digito(7), 0}));
    EXPECT_EQ(GameKey('H', true, false, false), (KeyEvent{Tecla::H, ModShift}));
    EXPECT_EQ(GameKey(VK_F10, false, false, false), (KeyEvent{Tecla::F10, 0}));
    EXPECT_EQ(GameKey(VK_F7, false, false, true), (KeyEvent{Tecla::F7, ModAlt}));
    EXPECT_EQ(GameKey(VK_NUMPAD3, false, true, false), (KeyEvent{Tecla::DigitoNumerico(3), ModControl}));
    EXPECT_EQ(GameKey(VK_LEFT, false, false, false), (KeyEvent{Tecla::Izquierda, 0}));
    EXPECT_EQ(GameKey(VK_DOWN, false, false, false), (KeyEvent{Tecla::Abajo, 0}));
    EXPECT_EQ(GameKey(VK_RETURN, false, false, false), (KeyEvent{Tecla::Enter, 0}));
    EXPECT_EQ(GameKey(VK_ESCAPE, false, false, false), (KeyEvent{Tecla::Escape, 0}));
    EXPECT_EQ(GameKey(VK_SPACE, true, true, true),
              (KeyEvent{Tecla::Espacio, ModShift | ModControl | ModAlt}));
    // A modifier going down counts as held.
    EXPECT_EQ(GameKey(VK_CONTROL, false, false, false), (KeyEvent{Tecla::Control, ModControl}));
    EXPECT_EQ(GameKey(VK_SHIFT, false, false, false), (KeyEvent{Tecla::Shift, ModShift}));
    EXPECT_EQ(GameKey(VK_MENU, false, false, false), (KeyEvent{Tecla::Alt, ModAlt}));
    // Keys the game has no use for.
    for (WPARAM other : {VK_LWIN, VK_APPS, VK_OEM_1, VK_VOLUME_UP, VK_F13, VK_SEPARATOR, VK_LBUTTON})
        EXPECT_FALSE(GameKey(other, false, false, false)) << other;
}

}  // namespace
}  // namespace veldrisa
