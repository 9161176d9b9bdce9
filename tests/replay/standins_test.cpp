// The recording stand-ins that every test of the program runs on.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/recording/platform.hpp"

namespace veldrisa {
namespace {

TEST(FixedClock, HandsOutConsecutiveSeedsWrappingAt2To32) {
    Recorder r;
    FixedClock clock(r, 4294967295u);
    EXPECT_EQ(clock.seed(), 4294967295u);
    EXPECT_EQ(clock.seed(), 0u);
    FixedClock real(r, std::nullopt);
    auto first = real.seed();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_NE(real.seed(), first);
}

TEST(RecordingPlatform, OneRecorderKeepsTheOrderAndNumbersThePlayersFrom1) {
    RecordingPlatform p({.voices = {"Ana", "Bea"}});
    p.platform.sounds[3]->setFileName("Ronquido.mp3");
    p.platform.beeper.beep();
    p.platform.sounds[1]->stop();
    EXPECT_EQ(p.recorder.events,
              (std::vector<Event>{Event(EventKind::SoundFile, "Ronquido.mp3", 4), Event(EventKind::Beep),
                                  Event(EventKind::SoundStop, "", 2)}));
    p.speech.setRate(-30);
    p.speech.selectVoice(1);
    p.speech.createVoice();
    EXPECT_EQ(p.speech.rate(), 0);
    EXPECT_EQ(p.speech.selectedVoice(), 0);
    EXPECT_THROW(p.speech.selectVoice(2), std::out_of_range);
}

TEST(ExecutableFolders, IsTheFolderOfTheRunningTest) {
    RecordingPlatform p;
    auto folder = p.platform.folders.programFolder();
    auto self = std::filesystem::path(folder) / "replay_tests";
    EXPECT_TRUE(std::filesystem::exists(self) || std::filesystem::exists(self.replace_extension(".exe")));
    EXPECT_FALSE(folder.ends_with(std::filesystem::path::preferred_separator));
}

}  // namespace
}  // namespace veldrisa
