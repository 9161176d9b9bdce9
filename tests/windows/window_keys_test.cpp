// The Windows window's keys: the game's codes and masks, and the queue's rules during speech waits.
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

TEST(KeyQueue, OutsideWaitsKeepsEveryKeyInOrder) {
    KeyQueue q;
    for (int i = 0; i < 5000; ++i) q.Add({32 + i % 2, 0}, true, false);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(q.Take(), (Win32Key{32 + i % 2, 0}));
    EXPECT_FALSE(q.Take());
    EXPECT_FALSE(q.TakeDropped());
}

TEST(KeyQueue, DuringAWaitAHeldKeyIsOnePress) {
    KeyQueue q;
    q.Add({39, 0}, false, true);
    for (int i = 0; i < 200; ++i) q.Add({39, 0}, true, true);
    q.Add({39, 0}, false, true);  // pressed again: a new press
    q.Add({32, 0}, true, true);   // held since before the wait: one press
    q.Add({32, 0}, true, true);
    EXPECT_EQ(q.Take(), (Win32Key{39, 0}));
    EXPECT_EQ(q.Take(), (Win32Key{39, 0}));
    EXPECT_EQ(q.Take(), (Win32Key{32, 0}));
    EXPECT_FALSE(q.Take());
    EXPECT_FALSE(q.TakeDropped()) << "folded repeats are no dropped keys";
}

TEST(KeyQueue, DuringAWaitKeepsABoundedNumberAndOwesOneBeep) {
    KeyQueue q;
    for (int i = 0; i < 1000; ++i) q.Add({'0' + i % 10, 0}, false, true);
    std::size_t kept = 0;
    while (auto key = q.Take()) {
        EXPECT_EQ(key->code, static_cast<int>('0' + kept % 10)) << "the oldest keys are the ones kept";
        ++kept;
    }
    EXPECT_EQ(kept, KeyQueue::WaitBound);
    EXPECT_TRUE(q.TakeDropped());
    EXPECT_FALSE(q.TakeDropped()) << "one beep for the whole wait";
}

}  // namespace
}  // namespace veldrisa
