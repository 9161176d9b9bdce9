// The room sounds' level on MCI's scale, and which notices restart a loop.
#include "platform/win32/mci_sound_player.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace veldrisa {
namespace {

double Decibels(DWORD volume) { return 20.0 * std::log10(volume / 1000.0); }

TEST(MciVolume, HalvingTheLevelTakesTenDecibelsOff) {
    EXPECT_EQ(MciVolume(100), 1000u);
    EXPECT_EQ(MciVolume(150), 1000u);
    EXPECT_EQ(MciVolume(0), 0u);
    EXPECT_EQ(MciVolume(-5), 0u);
    EXPECT_NEAR(Decibels(MciVolume(50)), -10.0, 0.1);
    EXPECT_NEAR(Decibels(MciVolume(25)), -20.0, 0.1);
    // The game's default, and its lowest level above silence, still heard.
    EXPECT_NEAR(Decibels(MciVolume(40)), -13.2, 0.1);
    EXPECT_NEAR(Decibels(MciVolume(10)), -33.2, 0.2);
    EXPECT_GT(MciVolume(1), 0u);
    for (int percent = 0; percent < 100; ++percent)
        EXPECT_LT(MciVolume(percent), MciVolume(percent + 1)) << percent;
}

TEST(LoopRestarts, OnlyAtTheEndOfTheLoopsOwnDevice) {
    EXPECT_TRUE(LoopRestarts(true, MCI_NOTIFY_SUCCESSFUL, 7, 7));
    EXPECT_FALSE(LoopRestarts(true, MCI_NOTIFY_SUCCESSFUL, 6, 7)) << "a device closed since";
    EXPECT_FALSE(LoopRestarts(true, MCI_NOTIFY_SUCCESSFUL, 0, 7));
    EXPECT_FALSE(LoopRestarts(true, MCI_NOTIFY_SUCCESSFUL, 7, 0)) << "no device open";
    EXPECT_FALSE(LoopRestarts(false, MCI_NOTIFY_SUCCESSFUL, 7, 7)) << "stopped, or played once";
    for (WPARAM other : {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED, MCI_NOTIFY_FAILURE})
        EXPECT_FALSE(LoopRestarts(true, other, 7, 7)) << other;
}

}  // namespace
}  // namespace veldrisa
