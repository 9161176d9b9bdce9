// The levels of the mix: the limiter alone, then the real output captured by SDL's disk driver.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/sdl/espeak_speech_engine.hpp"
#include "platform/sdl/mixer_beeper.hpp"
#include "platform/sdl/mixer_sound_player.hpp"
#include "platform/sdl/peak_limiter.hpp"
#include "support/speech_meter.hpp"

namespace veldrisa {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int Rate = 44100;

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (auto s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

TEST(PeakLimiter, QuietSoundIsBroughtBackUpAndLoudSumsStayUnderTheCeiling) {
    PeakLimiter limiter(2.0, 0.94, 0.08, Rate);
    std::vector<std::int16_t> quiet(2 * 1000, 1000);
    limiter.Process(quiet.data(), 1000, 2);
    EXPECT_EQ(quiet.front(), 2000);
    EXPECT_EQ(quiet.back(), 2000);

    // Two sounds at full scale, as they enter the mix: one is the left channel's alone.
    std::vector<std::int16_t> loud(2 * Rate / 10);
    for (std::size_t f = 0; f < loud.size() / 2; ++f) {
        loud[2 * f] = static_cast<std::int16_t>(16000 * std::sin(f * 0.07) + 16000 * std::sin(f * 0.011));
        loud[2 * f + 1] = static_cast<std::int16_t>(f % 2 ? 100 : -100);
    }
    limiter.Process(loud.data(), static_cast<int>(loud.size() / 2), 2);
    EXPECT_LE(Peak(loud), std::lround(0.94 * 32767));
    EXPECT_GT(Peak(loud), 0.9 * 32767) << "the loud part is lowered to the ceiling, not far below it";
    EXPECT_LT(limiter.gain(), 2.0);

    // Half a second of quiet, six times the release: the gain is back where it was.
    std::vector<std::int16_t> after(2 * Rate / 2, 10);
    limiter.Process(after.data(), Rate / 2, 2);
    EXPECT_NEAR(limiter.gain(), 2.0, 0.01);
    EXPECT_EQ(after.back(), 20);
}

// The game's room sounds, copied beside the executables one folder above the tests.
fs::path Sounds() {
    char* base = SDL_GetBasePath();
    fs::path beside = fs::path(base).parent_path().parent_path();
    SDL_free(base);
    return beside;
}

// What the real output played, captured into a file by SDL's disk audio driver while `play`
// runs in a child process (the driver is chosen when audio starts). The child runs the test
// again from its start, so the file's name must be the same in both: it is kept in the build.
template <typename Play>
std::vector<std::int16_t> Captured(const std::string& name, Play play) {
    fs::path file = Sounds() / ("mix-capture-" + name + ".raw");
    fs::remove(file);
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "disk", 1);
            setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
            bool ok = play();
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    std::ifstream in(file, std::ios::binary);
    std::vector<std::int16_t> samples;
    for (std::int16_t s; in.read(reinterpret_cast<char*>(&s), sizeof s);) samples.push_back(s);
    fs::remove(file);
    return samples;
}

const char* RoomFiles[] = {"fuego.wav", "Vaso rompiéndose.mp3", "Pasar páginas.mp3", "Ronquido.mp3"};

class MixLevel : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (!fs::exists(Sounds() / RoomFiles[0])) GTEST_SKIP() << "no room sounds in " << Sounds();
    }
};

TEST_F(MixLevel, EveryRoomAtFullLevelWithSpeechAndBeepNeverClips) {
    auto samples = Captured("loud", [] {
        AudioOutput audio;
        std::vector<std::unique_ptr<MixerSoundPlayer>> rooms;
        for (int room = 1; room <= 4; ++room) {
            rooms.push_back(std::make_unique<MixerSoundPlayer>(audio, room, MixerSoundPlayer::Playback::Loop,
                                                               Sounds().string()));
            rooms.back()->setFileName(RoomFiles[room - 1]);
            rooms.back()->setVolume(100);
            rooms.back()->play();
        }
        EspeakSpeechEngine speech(audio);
        MixerBeeper beeper(audio);
        speech.speak("La fortuna de Veldrisa. ¡Zas! Estampado contra el techo.");
        beeper.beep();
        std::this_thread::sleep_for(2500ms);
        return audio.open();
    });
    ASSERT_GT(samples.size(), std::size_t(2 * Rate)) << "at least a second captured";
    const int clipped = static_cast<int>(std::count_if(
        samples.begin(), samples.end(), [](std::int16_t s) { return s == 32767 || s == -32768; }));
    EXPECT_EQ(clipped, 0);
    EXPECT_LE(Peak(samples), std::lround(AudioOutput::Ceiling * 32767) + 1);
    EXPECT_GT(Peak(samples), 0.8 * 32767) << "four rooms and the speech together are loud";
}

TEST_F(MixLevel, TheSpeechKeepsItsLevelAndRoomsAtZeroAreSilent) {
    // The speech alone, as espeak-ng made it, and the same beside a room turned off.
    auto alone = Captured("speech", [] {
        SpeechMeter meter;
        AudioOutput audio;
        EspeakSpeechEngine speech(audio);
        speech.setProbe(&meter);
        speech.speak("Sonidos al cero por ciento");
        speech.waitUntilDone();
        return audio.open() && meter.latest().peak > 0;
    });
    auto withRoomOff = Captured("off", [] {
        AudioOutput audio;
        MixerSoundPlayer fire(audio, 1, MixerSoundPlayer::Playback::Loop, Sounds().string());
        fire.setFileName(RoomFiles[0]);
        fire.setVolume(0);
        fire.play();
        EspeakSpeechEngine speech(audio);
        speech.speak("Sonidos al cero por ciento");
        speech.waitUntilDone();
        std::this_thread::sleep_for(300ms);
        return audio.open();
    });
    // espeak-ng's loudest sample of this text is about 0.6 of full scale; heard at its own level,
    // not halved by the headroom and not squashed by the limiter.
    EXPECT_GT(Peak(alone), 0.45 * 32767);
    EXPECT_LT(Peak(alone), AudioOutput::Ceiling * 32767);
    EXPECT_NEAR(Peak(withRoomOff), Peak(alone), 0.15 * Peak(alone));
    // After the speech only the room is left, and it is off.
    auto tail = std::vector<std::int16_t>(withRoomOff.end() - 2 * Rate / 10, withRoomOff.end());
    EXPECT_EQ(Peak(tail), 0);
}

}  // namespace
}  // namespace veldrisa
