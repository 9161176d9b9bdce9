// The voice's own stream on a sound server: the route chosen, the fallback, and a real server's playback.
#include "platform/sdl/pulse_voice.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/sdl/espeak_speech_engine.hpp"
#include "support/speech_meter.hpp"

extern char** environ;

namespace veldrisa {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(VoiceRoute, TheServerUnlessSdlIsToldToUseAnotherDriverOrTheGameIsToldToMix) {
    EXPECT_EQ(PreferredVoiceRoute(nullptr, nullptr), VoiceRoute::Server);
    EXPECT_EQ(PreferredVoiceRoute("", nullptr), VoiceRoute::Server);
    for (const char* driver : {"pulseaudio", "pulse", "pipewire", "pulseaudio,alsa"})
        EXPECT_EQ(PreferredVoiceRoute(driver, nullptr), VoiceRoute::Server) << driver;
    for (const char* driver : {"dummy", "disk", "alsa", "alsa,pulseaudio", "no-such-driver"})
        EXPECT_EQ(PreferredVoiceRoute(driver, nullptr), VoiceRoute::Mixer) << driver;
    EXPECT_EQ(PreferredVoiceRoute(nullptr, "sdl"), VoiceRoute::Mixer);
    EXPECT_EQ(PreferredVoiceRoute("pulseaudio", "sdl"), VoiceRoute::Mixer);
    EXPECT_EQ(PreferredVoiceRoute("pulseaudio", "server"), VoiceRoute::Server);
}

// A scratch folder holding a server's socket, state and log; removed at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "veldrisa-voice-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Every client of this process is sent to `folder`'s socket and never starts a server of its own.
void PointClientsAt(const fs::path& folder) {
    setenv("PULSE_SERVER", ("unix:" + (folder / "native").string()).c_str(), 1);
    setenv("PULSE_RUNTIME_PATH", (folder / "runtime").c_str(), 1);
    setenv("PULSE_STATE_PATH", (folder / "state").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

TEST(VoiceServer, WithoutAServerTheVoiceStaysInTheMixAndOneLineSaysSo) {
    ScratchFolder nowhere;
    PointClientsAt(nowhere.path());
    std::string error;
    const auto start = Clock::now();
    EXPECT_EQ(PulseVoice::Connect(error), nullptr);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_FALSE(error.empty());

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(VoiceServerFor(nullptr, nullptr), nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("Aviso: no hay servidor de sonido (", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    // SDL's test drivers keep the voice in the mix without trying the server or saying a word.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(VoiceServerFor("disk", nullptr), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// A PulseAudio server of the test's own with a null sink, as the benchmark runs one: no device, no
// other client, stopped at the end.
class RealServer : public ::testing::Test {
protected:
    void SetUp() override {
        PointClientsAt(folder.path());
        const std::string socket = "socket=" + (folder.path() / "native").string();
        const std::string log = "--log-target=file:" + (folder.path() / "server.log").string();
        std::vector<std::string> args = {"pulseaudio",
                                         "-n",
                                         "--daemonize=no",
                                         "--exit-idle-time=-1",
                                         "--use-pid-file=no",
                                         "--log-level=debug",
                                         log,
                                         "--load=module-null-sink sink_name=test rate=44100 channels=2",
                                         "--load=module-native-protocol-unix auth-anonymous=1 " + socket};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid, "pulseaudio", nullptr, nullptr, argv.data(), environ) != 0) {
            pid = -1;
            GTEST_SKIP() << "no pulseaudio program (make test installs it)";
        }
        std::string error;
        for (auto deadline = Clock::now() + 10s; !server && Clock::now() < deadline;) {
            server = PulseVoice::Connect(error);
            if (!server) std::this_thread::sleep_for(50ms);
        }
        ASSERT_NE(server, nullptr) << error;
        audio = std::make_unique<AudioOutput>(true);
        engine = std::make_unique<EspeakSpeechEngine>(*audio, std::move(server));
        ASSERT_TRUE(engine->direct());
        // A null sink with no client runs in blocks of two seconds, and takes a new stream's shorter
        // latency only when it wakes at the end of the current one: until then the voice would be late.
        std::this_thread::sleep_for(2100ms);
        engine->setProbe(&meter);
    }
    void TearDown() override {
        engine.reset();
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // The server's own reports of a stream it found dry.
    int Underruns() const {
        std::ifstream in(folder.path() / "server.log");
        std::stringstream text;
        text << in.rdbuf();
        const std::string log = text.str();
        int n = 0;
        for (auto at = log.find("underrun of '"); at != std::string::npos;
             at = log.find("underrun of '", at + 1))
            ++n;
        return n;
    }

    ScratchFolder folder;
    pid_t pid = -1;
    std::unique_ptr<PulseVoice> server;
    SpeechMeter meter;
    std::unique_ptr<AudioOutput> audio;
    std::unique_ptr<EspeakSpeechEngine> engine;
};

const std::string Long =
    "La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando "
    "esté listo.";

TEST_F(RealServer, EachMessageIsWrittenAheadPlayedInRealTimeAndCutShortByTheNext) {
    // Written as fast as it is made: the whole message is with the server long before it is heard.
    engine->speak("Velocidad de la voz más rápida");
    auto start = Clock::now();
    while (!meter.latest().synthesisFinished && Clock::now() - start < 2s) std::this_thread::sleep_for(1ms);
    const auto written = Clock::now() - start;
    const double seconds = double(meter.latest().synthesizedSamples) / engine->sampleRate();
    EXPECT_LT(std::chrono::duration<double>(written).count(), seconds / 4);
    EXPECT_GE(meter.latest().deliveredFrames, meter.latest().synthesizedSamples)
        << "every sample was written";
    EXPECT_LE(meter.latest().deliveredPeak,
              std::lround(AudioOutput::Ceiling * AudioOutput::VoiceShare * 32767) + 1)
        << "the voice keeps to its share of the ceiling, the mix of the other stream to the rest";
    EXPECT_GT(meter.latest().deliveredPeak, 0.4 * 32767) << "speech at about its own level";
    // Then heard in real time: the wait lasts as long as the speech, and a little more.
    engine->waitUntilDone();
    const double waited = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_GT(waited, seconds - 0.05);
    EXPECT_LT(waited, seconds + 0.5);

    // The server drops what it holds of the long one: the wait is the short one's alone.
    engine->speak(Long);
    std::this_thread::sleep_for(300ms);
    engine->speak("hola");
    start = Clock::now();
    engine->waitUntilDone();
    EXPECT_LT(Clock::now() - start, 1500ms) << "the introduction's remaining seconds were not played";

    // Control: nothing left to wait for.
    engine->speak(Long);
    std::this_thread::sleep_for(200ms);
    engine->stop();
    start = Clock::now();
    engine->waitUntilDone();
    EXPECT_LT(Clock::now() - start, 300ms);

    // Cut while it is still being made, before its end was ever announced to the server.
    for (int i = 0; i < 3; ++i) {
        engine->speak(Long + " " + Long + " " + Long);
        std::this_thread::sleep_for(20ms);
        i == 1 ? engine->speak("hola") : engine->stop();
        engine->waitUntilDone();
    }

    // Each message's end, cut or whole, is a drain and never a stream found dry.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Underruns(), 0);
}

}  // namespace
}  // namespace veldrisa
