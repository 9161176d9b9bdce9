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
    FixedClock clock(r, 4294967294u);
    EXPECT_EQ(clock.seed(), 4294967294u);
    EXPECT_EQ(clock.seed(), 4294967295u);
    EXPECT_EQ(clock.seed(), 0u);
    EXPECT_EQ(r.events.back(), Event(EventKind::Seeded, "", 0));
}

TEST(FixedClock, WithoutASeedTheClockMoves) {
    Recorder r;
    FixedClock clock(r, std::nullopt);
    auto first = clock.seed();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_NE(clock.seed(), first);
}

TEST(RecordingSpeechEngine, FreshVoiceHasDefaultRateAndVoice) {
    RecordingPlatform p({.voices = {"Ana", "Bea"}});
    p.speech.setRate(-30);
    p.speech.selectVoice(1);
    p.speech.createVoice();
    EXPECT_EQ(p.speech.rate(), 0);
    EXPECT_EQ(p.speech.selectedVoice(), 0);
    EXPECT_THROW(p.speech.selectVoice(2), std::out_of_range);
    EXPECT_THROW(p.speech.selectVoice(-1), std::out_of_range);
}

TEST(RecordingPlatform, AllEventsGoToOneRecorderInOrder) {
    RecordingPlatform p;
    p.platform.sounds[3]->setFileName("Ronquido.mp3");
    p.platform.sounds[0]->play();
    p.platform.beeper.beep();
    p.platform.sounds[1]->stop();
    EXPECT_EQ(p.recorder.events,
              (std::vector<Event>{Event(EventKind::SoundFile, "Ronquido.mp3", 4), Event(EventKind::SoundPlay, "", 1),
                                  Event(EventKind::Beep), Event(EventKind::SoundStop, "", 2)}));
}

TEST(RecordingPlatform, AListenerTakesEventsInsteadOfTheList) {
    RecordingPlatform p;
    std::vector<Event> seen;
    p.recorder.listener = [&](const Event& e) { seen.push_back(e); };
    p.platform.beeper.beep();
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(p.recorder.events.empty());
}

TEST(ScriptedDialog, AnswersInOrderAndComplainsWhenOutOfAnswers) {
    RecordingPlatform p;
    p.dialog.answers = {"uno", ""};
    EXPECT_EQ(p.platform.dialog.ask("T", "P", "I"), "uno");
    EXPECT_EQ(p.platform.dialog.ask("T", "P", "I"), "");
    EXPECT_THROW(p.platform.dialog.ask("T", "P", "I"), std::logic_error);
    EXPECT_EQ(p.recorder.events.size(), 3u);
    p.dialog.source = [] { return std::string("de fuera"); };
    EXPECT_EQ(p.platform.dialog.ask("T", "P", "I"), "de fuera");
}

TEST(ExecutableFolders, IsTheFolderOfTheRunningTest) {
    RecordingPlatform p;
    auto folder = p.platform.folders.programFolder();
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "replay_tests"));
    EXPECT_FALSE(folder.ends_with('/'));
    auto before = std::filesystem::current_path();
    p.platform.folders.setCurrentDirectory(folder);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder));
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace veldrisa
