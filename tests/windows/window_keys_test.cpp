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

// A Spanish keyboard types @ # € [ ] { } with AltGr, which Windows reports as the left Control
// and the right Alt: taken as Control it would silence the voice.
TEST(AltGr, IsNeitherControlNorAlt) {
    const auto altGr = HeldControlAndAlt(true, false, false, true);
    EXPECT_FALSE(altGr.control);
    EXPECT_FALSE(altGr.alt);
    EXPECT_TRUE(HeldControlAndAlt(true, false, false, false).control);
    EXPECT_TRUE(HeldControlAndAlt(false, true, false, false).control);
    EXPECT_TRUE(HeldControlAndAlt(false, false, true, false).alt);
    EXPECT_TRUE(HeldControlAndAlt(false, false, false, true).alt)
        << "a right Alt with no AltGr on the layout";
    const auto both = HeldControlAndAlt(true, true, false, true);
    EXPECT_TRUE(both.control) << "the right Control held besides AltGr";
    EXPECT_FALSE(both.alt);
}

TEST(AltGr, TheControlSentAheadOfItIsToldFromAControlPressed) {
    // Scan codes 0x1D (Control) and 0x38 (Alt); bit 24 marks the right-hand keys.
    const MSG leftControl{nullptr, WM_KEYDOWN, VK_CONTROL, 0x001D0001, 5000, {}};
    MSG rightAlt{nullptr, WM_KEYDOWN, VK_MENU, 0x01380001, 5000, {}};
    EXPECT_TRUE(StartsAltGr(leftControl, rightAlt));
    rightAlt.message = WM_SYSKEYDOWN;
    EXPECT_TRUE(StartsAltGr(leftControl, rightAlt));
    MSG later = rightAlt;
    later.time = 5030;
    EXPECT_FALSE(StartsAltGr(leftControl, later)) << "Control held, then Alt: both meant";
    MSG leftAlt = rightAlt;
    leftAlt.lParam = 0x00380001;
    EXPECT_FALSE(StartsAltGr(leftControl, leftAlt));
    const MSG rightControl{nullptr, WM_KEYDOWN, VK_CONTROL, 0x011D0001, 5000, {}};
    EXPECT_FALSE(StartsAltGr(rightControl, rightAlt));
    MSG letter = rightAlt;
    letter.wParam = 'Q';
    EXPECT_FALSE(StartsAltGr(leftControl, letter));
}

TEST(PlaceInWorkArea, KeepsTheWindowAboveTheTaskbar) {
    // 1366×768 with a 40-pixel taskbar: the window's 720 pixels plus its frame do not fit.
    const RECT work{0, 0, 1366, 728};
    RECT place = PlaceInWorkArea(SIZE{1040, 759}, work);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.bottom, 728);
    EXPECT_EQ(place.right - place.left, 1040);
    EXPECT_EQ(place.left, (1366 - 1040) / 2);
    // At 150 % on 1920×1080 the scaled window is wider than the screen; a taskbar at the left.
    const RECT wide{62, 0, 1920, 1080};
    place = PlaceInWorkArea(SIZE{2000, 900}, wide);
    EXPECT_EQ(place.left, 62);
    EXPECT_EQ(place.right, 1920);
    EXPECT_EQ(place.top, 90);
}

}  // namespace
}  // namespace veldrisa
