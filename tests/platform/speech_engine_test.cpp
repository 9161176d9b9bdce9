// The espeak-ng engine speaking Spanish into the real mixer path (SDL's dummy audio driver).
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <thread>

#include "common/unicode.hpp"
#include "platform/sdl/espeak_speech_engine.hpp"
#include "setup/nombres_raros.hpp"
#include "support/speech_meter.hpp"

namespace veldrisa {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const std::string Intro =
    "La fortuna de Veldrisa. Escoja los personajes que desea controlar y pulse Enter cuando esté listo. "
    "Micifú, el gato andalú No seleccionado";
const std::string Medium = "Velocidad de la voz más rápida";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class SpeechEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio = std::make_unique<AudioOutput>();
        ASSERT_TRUE(audio->open()) << "the dummy audio driver should always open";
        engine = std::make_unique<EspeakSpeechEngine>(*audio);
        ASSERT_GT(engine->sampleRate(), 0) << "espeak-ng and its data must be installed";
        engine->setProbe(&meter);
    }

    // Speaks the text and waits for its synthesis (not its playing) to end.
    SpeechMeter::Figures Synthesize(const std::string& text) {
        engine->speak(text);
        auto deadline = Clock::now() + 10s;
        while (!meter.latest().synthesisFinished && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
        auto figures = meter.latest();
        EXPECT_TRUE(figures.synthesisFinished) << text;
        return figures;
    }

    double AudioSeconds(const SpeechMeter::Figures& f) const {
        return double(f.synthesizedSamples) / engine->sampleRate();
    }

    // How long the dummy device takes to play the speech: it sleeps whole milliseconds per
    // buffer (5 for 5.8 ms), so it plays faster than real time.
    double PlayingSeconds(const SpeechMeter::Figures& f) const {
        const double periodMs = 1000.0 * AudioOutput::BufferFrames / audio->frequency();
        return AudioSeconds(f) * std::floor(periodMs) / periodMs;
    }

    SpeechMeter meter;
    std::unique_ptr<AudioOutput> audio;
    std::unique_ptr<EspeakSpeechEngine> engine;
};

TEST_F(SpeechEngineTest, VoicesAreSpanishWithSpainFirst) {
    auto voices = engine->voiceDescriptions();
    ASSERT_FALSE(voices.empty());
    EXPECT_EQ(voices.front(), "Español de España");
    for (const auto& v : voices) {
        EXPECT_EQ(v.rfind("Español", 0), 0u) << v;
        // A description made from a bare language code would be an MBROLA voice or an unknown one.
        EXPECT_EQ(v.find('('), std::string::npos) << v;
    }
    std::set<std::string> distinct(voices.begin(), voices.end());
    EXPECT_EQ(distinct.size(), voices.size());
}

TEST_F(SpeechEngineTest, SpeakReturnsAtOnceAndTheDeviceSoonPlaysSpeech) {
    // Synthesizing the introduction takes several milliseconds; speak() must not wait for it.
    // The median keeps a busy machine's scheduling out of the measure.
    std::vector<double> micros;
    for (int i = 0; i < 21; ++i) {
        auto start = Clock::now();
        engine->speak(i % 2 ? "hola" : Intro);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        std::this_thread::sleep_for(2ms);
    }
    std::nth_element(micros.begin(), micros.begin() + 10, micros.end());
    // ThreadSanitizer makes every lock and atomic several times dearer; the bound scales with it.
#if defined(__SANITIZE_THREAD__)
    constexpr double Bound = 5000.0;
#else
    constexpr double Bound = 1000.0;
#endif
    EXPECT_LT(micros[10], Bound);

    auto deadline = Clock::now() + 2s;
    while (!meter.latest().firstSoundAfter && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    auto figures = meter.latest();
    ASSERT_TRUE(figures.firstSoundAfter.has_value());
    // One device buffer is about 23 ms; the first sound must come within a few of them.
    EXPECT_LT(*figures.firstSoundAfter, 150ms);
    std::cout << "[ measured ] speak() returned in " << micros[10] << " us (median); first samples reached the device "
              << figures.firstSoundAfter->count() << " us after it\n";

    figures = Synthesize(Intro);
    EXPECT_GT(AudioSeconds(figures), 4.0) << "the introduction is several seconds long";
    EXPECT_GT(figures.peak, 3000) << "speech, not silence";
}

TEST_F(SpeechEngineTest, WaitUntilDoneReturnsOnceTheDeviceHasPlayedEverything) {
    engine->speak(Medium);
    auto start = Clock::now();
    engine->waitUntilDone();
    double waited = Seconds(Clock::now() - start);
    auto figures = meter.latest();
    double heard = double(figures.deliveredFrames) / audio->frequency();
    double spoken = AudioSeconds(figures);
    std::cout << "[ measured ] " << spoken << " s synthesized, " << heard << " s delivered, waited " << waited << " s\n";
    EXPECT_TRUE(figures.synthesisFinished);
    EXPECT_GE(heard, spoken) << "every sample, converted to the device's rate, was delivered";
    EXPECT_LT(heard, spoken + 0.1);
    EXPECT_GE(waited, PlayingSeconds(figures) - 0.05);
    // On a busy machine each of the dummy device's sleeps may wake a millisecond late.
    const double buffers = spoken * audio->frequency() / AudioOutput::BufferFrames;
    EXPECT_LT(waited, spoken + 0.5 + buffers * 0.001);
}

TEST_F(SpeechEngineTest, ANewMessagePurgesTheOneBeingSpoken) {
    engine->speak(Intro);
    std::this_thread::sleep_for(300ms);
    ASSERT_GT(meter.latest().deliveredFrames, 0u);
    engine->speak("hola");
    auto start = Clock::now();
    engine->waitUntilDone();
    double waited = Seconds(Clock::now() - start);
    auto figures = meter.latest();
    double heard = double(figures.deliveredFrames) / audio->frequency();
    EXPECT_LT(waited, 2.5) << "the introduction's remaining seconds were not played";
    EXPECT_LT(heard, AudioSeconds(figures) + 0.1) << "only the new message reached the device";
}

TEST_F(SpeechEngineTest, StopAndTheEmptyTextSilenceAtOnce) {
    for (bool stop : {true, false}) {
        engine->speak(Intro);
        std::this_thread::sleep_for(200ms);
        ASSERT_GT(meter.latest().deliveredFrames, 0u);
        stop ? engine->stop() : engine->speak("");
        auto start = Clock::now();
        engine->waitUntilDone();
        EXPECT_LT(Clock::now() - start, 500ms) << "the introduction lasts several seconds more";
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(meter.latest().deliveredFrames, 0u) << "nothing of the introduction after the silence";
    }
}

TEST_F(SpeechEngineTest, WaitingKeepsCallingThePumpAndCanBeGivenUp) {
    int calls = 0;
    engine->setWaitPump([&] {
        ++calls;
        return true;
    });
    engine->speak(Medium);
    engine->waitUntilDone();
    EXPECT_GT(calls, 10) << "the window must be pumped all through a wait";

    calls = 0;
    engine->setWaitPump([&] { return ++calls < 3; });
    engine->speak(Intro);
    auto start = Clock::now();
    engine->waitUntilDone();
    EXPECT_EQ(calls, 3);
    EXPECT_LT(Clock::now() - start, 500ms) << "a closing window ends the wait";
}

TEST_F(SpeechEngineTest, FasterRatesGiveShorterSpeech) {
    // Steps of 5, the ordinary key press; a step of 1 can be lost in espeak-ng's own rounding
    // of durations above about 270 words per minute.
    const std::string text = "Escoja los personajes que desea controlar y pulse Enter cuando esté listo";
    std::uint64_t previous = 0;
    for (int rate = -54; rate <= 54; rate += 6) {
        engine->setRate(rate);
        std::uint64_t samples = Synthesize(text).synthesizedSamples;
        if (rate > -54) {
            EXPECT_LT(samples, previous) << "rate " << rate << " is no faster than " << rate - 6;
        }
        previous = samples;
    }
    engine->setRate(-50);
    double slowest = double(Synthesize(text).synthesizedSamples);
    engine->setRate(50);
    double fastest = double(Synthesize(text).synthesizedSamples);
    EXPECT_GT(slowest / fastest, 2.5) << "the scale spans most of what espeak-ng can do";
}

TEST(RateScale, EndsAndMiddleOfTheScale) {
    EXPECT_EQ(EspeakSpeechEngine::WordsPerMinute(0), 175);
    EXPECT_EQ(EspeakSpeechEngine::WordsPerMinute(54), 450);
    EXPECT_EQ(EspeakSpeechEngine::WordsPerMinute(-54), 88);
    EXPECT_NEAR(EspeakSpeechEngine::WordsPerMinute(50), 420, 5);
    EXPECT_NEAR(EspeakSpeechEngine::WordsPerMinute(-50), 93, 3);
    EXPECT_EQ(EspeakSpeechEngine::WordsPerMinute(200), 450);
    EXPECT_EQ(EspeakSpeechEngine::WordsPerMinute(-200), 88);
    for (int rate = -54; rate < 54; ++rate)
        EXPECT_LT(EspeakSpeechEngine::WordsPerMinute(rate), EspeakSpeechEngine::WordsPerMinute(rate + 1)) << rate;
}

TEST_F(SpeechEngineTest, MarkupAndPunctuationAreReadAsText) {
    auto plain = Synthesize("x").synthesizedSamples;
    // As markup this would be just "x"; read as text its brackets and slash are spoken too.
    EXPECT_GT(Synthesize("<b>x</b>").synthesizedSamples, 3 * plain);
    // "[[" would switch to phoneme input.
    EXPECT_GT(Synthesize("[[x]]").synthesizedSamples, 2 * plain);
    // Even the mark that ends the text is read.
    auto word = Synthesize("hola").synthesizedSamples;
    EXPECT_GT(Synthesize("hola.").synthesizedSamples, word * 3 / 2);
    EXPECT_GT(Synthesize("hola,").synthesizedSamples, word * 3 / 2);

    // Names typed as markup: each is read out far longer than what markup would leave of it.
    const std::pair<std::string, std::string> names[] = {
        {"<speak>hola</speak>", "hola"},
        {"<b>Ana</b>", "Ana"},
        {"&amp; &lt;", "& <"},
        {"[[h'ola]]", "hola"},
        {"<?xml version=\"1.0\"?><audio src=\"/dev/zero\"/>", "x"},
    };
    for (const auto& [name, asMarkup] : names)
        EXPECT_GT(Synthesize(name).synthesizedSamples, 2 * Synthesize(asMarkup).synthesizedSamples) << name;
}

// Each odd name a player may type is spoken to its end; one that would take minutes is given
// up as a closing window would. The engine speaks on afterwards.
class OddNameTest : public SpeechEngineTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(OddNameTest, IsSpokenWithoutHarmAndTheWaitEnds) {
    const std::string& name = prueba::NombresRaros()[GetParam()].nombre;
    const bool long_ = CuentaCaracteres(name) > 1000;
    // The fastest voice keeps the longest of the others to a few seconds.
    engine->setRate(50);
    const auto start = Clock::now();
    const auto limit = long_ ? 2s : 20s;
    bool gaveUp = false;
    engine->setWaitPump([&] { return !(gaveUp = Clock::now() - start > limit); });
    engine->speak(name);
    engine->waitUntilDone();
    const double waited = Seconds(Clock::now() - start);
    auto figures = meter.latest();
    std::cout << "[ measured ] " << AudioSeconds(figures) << " s synthesized, waited " << waited << " s\n";
    EXPECT_EQ(gaveUp, long_) << "only the ten thousand characters outlast the limit";
    if (!long_) {
        EXPECT_TRUE(figures.synthesisFinished);
        EXPECT_GE(waited, PlayingSeconds(figures) - 0.05) << "the wait lasts as long as the speech";
    } else {
        EXPECT_GT(figures.deliveredFrames, 0u) << "a long name is heard while it lasts";
    }

    engine->setWaitPump(nullptr);
    engine->speak("hola");
    engine->waitUntilDone();
    EXPECT_GT(meter.latest().deliveredFrames, 0u);
}

INSTANTIATE_TEST_SUITE_P(Names, OddNameTest, ::testing::Range<std::size_t>(0, prueba::NombresRaros().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             std::string id = prueba::NombresRaros()[info.param].que;
                             for (char& c : id)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return id;
                         });

TEST_F(SpeechEngineTest, VoiceSelectionAndAFreshVoice) {
    const std::string text = "La fortuna de Veldrisa";
    auto normal = Synthesize(text);
    ASSERT_GE(engine->voiceDescriptions().size(), 2u);
    engine->selectVoice(1);
    EXPECT_GT(std::abs(double(Synthesize(text).synthesizedSamples) - double(normal.synthesizedSamples)),
              normal.synthesizedSamples * 0.03)
        << "another voice speaks differently";

    engine->setRate(30);
    engine->createVoice();
    EXPECT_EQ(engine->rate(), 0);
    auto fresh = Synthesize(text);
    // espeak-ng varies a message's length by a few samples from one time to the next.
    const double tolerance = normal.synthesizedSamples * 0.01;
    EXPECT_NEAR(double(fresh.synthesizedSamples), double(normal.synthesizedSamples), tolerance)
        << "default voice and rate again";

    engine->selectVoice(99);
    EXPECT_NEAR(double(Synthesize(text).synthesizedSamples), double(normal.synthesizedSamples), tolerance)
        << "an unknown position changes nothing";
}

// espeak-ng 1.51 scans for the end of words like these past its own buffers; cut off at
// random points over and over they once brought the engine's thread down.
TEST_F(SpeechEngineTest, SurvivesConstantInterruptionOfAnyText) {
    const std::string texts[] = {
        "Sir Thomas, el apenado marido No seleccionado", "adiós, dos tomas", "Seleccionado", Intro,
        "Pulse f2 si desea cambiar el nombre del personaje", "", "\xff\xfe nombre \xc3 roto",
    };
    unsigned step = 0;
    for (int i = 0; i < 600; ++i) {
        engine->speak(texts[i % std::size(texts)]);
        step = step * 1103515245u + 12345u;
        std::this_thread::sleep_for(std::chrono::microseconds((step >> 8) % 3000));
    }
    engine->speak("fin");
    engine->waitUntilDone();
    EXPECT_GT(meter.latest().deliveredFrames, 0u);
}

// These run in a child process of their own, since espeak-ng and SDL audio start once per process.
class SpeechEngineSetupTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(SpeechEngineSetupTest, WithoutEspeakDataThereAreNoVoices) {
    auto empty = std::filesystem::temp_directory_path() / "veldrisa-no-espeak-data";
    std::filesystem::create_directories(empty);
    EXPECT_EXIT(
        {
            setenv("ESPEAK_DATA_PATH", empty.c_str(), 1);
            AudioOutput audio;
            EspeakSpeechEngine engine(audio);
            bool ok = engine.voiceDescriptions().empty();
            engine.speak("hola");
            engine.waitUntilDone();
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// The game refuses to start then; the engine must still neither crash nor block.
TEST_F(SpeechEngineSetupTest, WithoutAnAudioDeviceTheEngineNeitherCrashesNorBlocks) {
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            AudioOutput audio;
            EspeakSpeechEngine engine(audio);
            bool ok = !audio.open() && !audio.error().empty() && !engine.voiceDescriptions().empty();
            auto start = Clock::now();
            engine.speak(Intro);
            engine.waitUntilDone();
            ok = ok && Clock::now() - start < 50ms;
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace veldrisa
