// The Windows window's keys: the codes and masks the game takes.
#include <gtest/gtest.h>

#include "platform/win32/game_window.hpp"

namespace veldrisa {
namespace {

TEST(GameKey, GivesTheVirtualKeyCodesTheGameUsesWithTheirMask) {
    EXPECT_EQ(GameKey('7', false, false, false), (Win32Key{55, 0}));
    EXPECT_EQ(GameKey('H', true, false, false), (Win32Key{72, 1}));
    EXPECT_EQ(GameKey(VK_F10, false, false, false), (Win32Key{121, 0}));
    EXPECT_EQ(GameKey(VK_F7, false, false, true), (Win32Key{118, 4}));
    EXPECT_EQ(GameKey(VK_NUMPAD3, false, true, false), (Win32Key{99, 2}));
    EXPECT_EQ(GameKey(VK_LEFT, false, false, false), (Win32Key{37, 0}));
    EXPECT_EQ(GameKey(VK_DOWN, false, false, false), (Win32Key{40, 0}));
    EXPECT_EQ(GameKey(VK_RETURN, false, false, false), (Win32Key{13, 0}));
    EXPECT_EQ(GameKey(VK_ESCAPE, false, false, false), (Win32Key{27, 0}));
    EXPECT_EQ(GameKey(VK_SPACE, true, true, true), (Win32Key{32, 7}));
    // A modifier going down counts as held.
    EXPECT_EQ(GameKey(VK_CONTROL, false, false, false), (Win32Key{17, 2}));
    EXPECT_EQ(GameKey(VK_SHIFT, false, false, false), (Win32Key{16, 1}));
    EXPECT_EQ(GameKey(VK_MENU, false, false, false), (Win32Key{18, 4}));
    // Keys the game has no use for.
    for (WPARAM other : {VK_LWIN, VK_APPS, VK_OEM_1, VK_VOLUME_UP, VK_F13, VK_SEPARATOR, VK_LBUTTON})
        EXPECT_FALSE(GameKey(other, false, false, false)) << other;
}

}  // namespace
}  // namespace veldrisa
