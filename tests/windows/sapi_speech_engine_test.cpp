// The SAPI adapter against a voice object of our own: flags, waits, voices, rates, failures.
#include "platform/win32/sapi_speech_engine.hpp"

#include <gtest/gtest.h>

#include "app/programa.hpp"
#include "platform/recording/platform.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"
#include "ports/keys.hpp"
#include "windows/fake_voice.hpp"

namespace veldrisa {
namespace {

using testing::FakeVoice;

// Two voices whose tokens are only told apart by address; the adapter must pass them on untouched.
class FakeCatalog : public VoiceCatalog {
public:
    std::vector<std::string> descriptions() override { return {"Voz española", "Otra voz"}; }
    ISpObjectToken* token(int position) override {
        return position >= 0 && position < 2 ? reinterpret_cast<ISpObjectToken*>(&tokens[position]) : nullptr;
    }
    int tokens[2]{};
};

struct Engine {
    FakeVoice voice;
    FakeCatalog catalog;
    int made = 0;
    SapiSpeechEngine engine{[this](ISpVoice** out) {
                                ++made;
                                voice.AddRef();
                                *out = &voice;
                                return S_OK;
                            },
                            catalog};
};

TEST(SapiSpeechEngine, SpeaksAsynchronouslyPurgingReadingPunctuationAndNeverAsMarkup) {
    Engine e;
    e.engine.createVoice();
    e.voice.calls.clear();
    e.engine.speak("<pitch middle='10'>Ñandú, ¿名前?");
    e.engine.speak("");
    const auto speaks = e.voice.Named("Speak");
    ASSERT_EQ(speaks.size(), 2u);
    EXPECT_EQ(speaks[0].text, L"<pitch middle='10'>Ñandú, ¿名前?") << "spoken as typed, in UTF-16";
    for (const auto& s : speaks) {
        EXPECT_EQ(s.flags,
                  static_cast<DWORD>(SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML | SPF_NLP_SPEAK_PUNC));
        EXPECT_FALSE(s.flags & SPF_IS_XML);
    }
    EXPECT_EQ(speaks[1].text, L"") << "an empty message silences what is being said";
    EXPECT_TRUE(e.voice.Named("unexpected").empty());
}

TEST(SapiSpeechEngine, StopPurgesWhatIsBeingSaid) {
    Engine e;
    e.engine.createVoice();
    EXPECT_TRUE(e.engine.available());
    e.voice.calls.clear();
    e.engine.stop();
    const auto speaks = e.voice.Named("Speak");
    ASSERT_EQ(speaks.size(), 1u);
    EXPECT_EQ(speaks[0].text, L"");
    EXPECT_TRUE(speaks[0].flags & SPF_PURGEBEFORESPEAK);
}

// Some voices skip marks or name them in English whatever SPF_NLP_SPEAK_PUNC asks: the game
// gives them the Spanish words Linux uses.
TEST(SapiSpeechEngine, SpeaksMarksAsSpanishWords) {
    Engine e;
    e.engine.createVoice();
    e.voice.calls.clear();
    e.engine.speak("pero... bien pensado… —¿qué?");
    const auto speaks = e.voice.Named("Speak");
    ASSERT_EQ(speaks.size(), 1u);
    EXPECT_EQ(speaks[0].text, L"pero puntos suspensivos  bien pensado puntos suspensivos   raya ¿qué?");
}

// A voice that takes SetVoice and then cannot speak (a 32-bit voice in the 64-bit game), or
// refuses SetVoice: F10 gives the voice heard before, which says so.
TEST(SapiSpeechEngine, AVoiceThatFailsOnF10GivesThePreviousVoiceBackAndSaysSo) {
    for (bool refusesSetVoice : {true, false}) {
        Engine e;
        (refusesSetVoice ? e.voice.refuses : e.voice.mute) = &e.catalog.tokens[1];
        RecordingPlatform r;
        Platform withSapi{
            e.engine, {&r.sound1, &r.sound2, &r.sound3, &r.sound4}, r.beeper, r.clock, r.folders,
            &r.observer};
        Programa programa(withSapi);
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(programa.Inicia());
        const auto notice = WideFromUtf8(SapiSpeechEngine::RefusedVoiceNotice);
        const auto lastSpoken = [&] { return e.voice.Named("Speak").back().text; };

        programa.Tecla(Tecla::F10, 0);
        EXPECT_EQ(lastSpoken(), notice);
        EXPECT_EQ(e.voice.current, nullptr) << "the system's default voice, heard before";

        programa.Tecla(Tecla::F10, 0);
        EXPECT_EQ(e.voice.current, &e.catalog.tokens[0]);
        EXPECT_EQ(lastSpoken(), L"voz española");

        programa.Tecla(Tecla::F10, 0);
        EXPECT_EQ(lastSpoken(), notice);
        EXPECT_EQ(e.voice.current, &e.catalog.tokens[0]) << "the voice heard last";
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(refusesSetVoice ? "SetVoice" : "Speak"),
                  std::string::npos)
            << "the failing call is in the warnings";
    }

}

TEST(SapiSpeechEngine, MapsTheGameRatesOntoSapisScaleBothWays) {
    EXPECT_EQ(SapiSpeechEngine::SapiRate(0), 0);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(54), 10);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(-54), -10);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(50), 9);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(-5), -1) << "one step of five is heard";
    EXPECT_EQ(SapiSpeechEngine::SapiRate(2), 0);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(500), 10);
    EXPECT_EQ(SapiSpeechEngine::SapiRate(-500), -10);
    for (long r = -10; r <= 10; ++r) EXPECT_EQ(SapiSpeechEngine::SapiRate(SapiSpeechEngine::GameRate(r)), r);
    for (int g = -60; g < 60; ++g)
        EXPECT_LE(SapiSpeechEngine::SapiRate(g), SapiSpeechEngine::SapiRate(g + 1))
            << "never slower when faster";

    Engine e;
    e.voice.rate = 3;  // what the player chose in the system's settings
    e.engine.createVoice();
    EXPECT_EQ(e.engine.rate(), 16);
    e.engine.setRate(27);
    EXPECT_EQ(e.engine.rate(), 27) << "the game's own steps are kept, even those SAPI cannot tell apart";
    EXPECT_EQ(e.voice.rate, 5);
    e.engine.setRate(28);
    EXPECT_EQ(e.engine.rate(), 28);
}

TEST(SapiSpeechEngine, ListsTheCatalogsVoicesAndSelectsByPosition) {
    Engine e;
    e.engine.createVoice();
    EXPECT_EQ(e.engine.voiceDescriptions(), (std::vector<std::string>{"Voz española", "Otra voz"}));
    e.engine.selectVoice(1);
    e.engine.selectVoice(0);
    e.engine.selectVoice(7);
    const auto set = e.voice.Named("SetVoice");
    ASSERT_EQ(set.size(), 2u) << "no token, no call";
    EXPECT_EQ(set[0].token, &e.catalog.tokens[1]);
    EXPECT_EQ(set[1].token, &e.catalog.tokens[0]);
}

TEST(SapiSpeechEngine, EachNewVoiceReplacesTheLastAndReleasesIt) {
    Engine e;
    e.engine.createVoice();
    e.engine.createVoice();
    EXPECT_EQ(e.made, 2);
    EXPECT_EQ(e.voice.references, 2u) << "the test's own reference and the current voice's";
}

TEST(SapiSpeechEngine, WaitsInSlicesWhileTheWindowIsLookedAfter) {
    Engine e;
    e.engine.createVoice();
    int pumps = 0;
    e.engine.setWaitPump([&] { return ++pumps, true; });
    e.voice.calls.clear();
    e.voice.waits = {S_FALSE, S_FALSE, S_FALSE};
    e.engine.waitUntilDone();
    EXPECT_EQ(pumps, 3);
    const auto waits = e.voice.Named("WaitUntilDone");
    ASSERT_EQ(waits.size(), 4u);
    for (const auto& w : waits) EXPECT_EQ(w.value, static_cast<long>(SapiSpeechEngine::WaitSliceMs));
}

TEST(SapiSpeechEngine, AClosingWindowEndsTheWaitAndSilencesTheVoice) {
    Engine e;
    e.engine.createVoice();
    e.engine.setWaitPump([] { return false; });
    e.voice.calls.clear();
    e.voice.waits = {S_FALSE, S_FALSE, S_FALSE};
    e.engine.waitUntilDone();
    EXPECT_EQ(e.voice.Named("WaitUntilDone").size(), 1u);
    const auto speaks = e.voice.Named("Speak");
    ASSERT_EQ(speaks.size(), 1u);
    EXPECT_EQ(speaks[0].text, L"");
    EXPECT_TRUE(speaks[0].flags & SPF_PURGEBEFORESPEAK);
}

// Wine's own SpVoice answers "not implemented" to the rate, to speaking and to waiting.
TEST(SapiSpeechEngine, AVoiceThatCannotSpeakCountsAsNoVoiceAndTheGameDoesNotStart) {
    for (auto broken : {&FakeVoice::rateResult, &FakeVoice::speakResult, &FakeVoice::waitResult}) {
        Engine e;
        e.voice.*broken = E_NOTIMPL;
        RecordingPlatform r;
        Platform withSapi{
            e.engine, {&r.sound1, &r.sound2, &r.sound3, &r.sound4}, r.beeper, r.clock, r.folders,
            &r.observer};
        Programa programa(withSapi);
        StartWarnings();
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(programa.Inicia());
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("no respondió"), std::string::npos)
            << "the failing call is named on stderr";
        EXPECT_TRUE(e.engine.voiceDescriptions().empty());
        EXPECT_FALSE(e.engine.available());
        e.engine.speak("nada");
        e.engine.waitUntilDone();
    }
}

TEST(SapiSpeechEngine, NoVoiceObjectAtAllIsNoVoice) {
    FakeCatalog catalog;
    SapiSpeechEngine engine([](ISpVoice** out) { return *out = nullptr, REGDB_E_CLASSNOTREG; }, catalog);
    ::testing::internal::CaptureStderr();
    engine.createVoice();
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(engine.voiceDescriptions().empty());
    EXPECT_FALSE(engine.available());
    engine.speak("nada");
    engine.stop();
    engine.waitUntilDone();
    engine.selectVoice(0);
    engine.setRate(5);
}

// The system's own voice: under Wine it cannot speak, and must then be no voice rather than a crash.
TEST(SapiSpeechEngine, TheSystemVoiceEitherAnswersEverythingOrCountsAsNone) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        SapiVoiceCatalog catalog;
        SapiSpeechEngine engine(MakeSystemVoice, catalog);
        ::testing::internal::CaptureStderr();
        engine.createVoice();
        const std::string errors = ::testing::internal::GetCapturedStderr();
        const auto voices = engine.voiceDescriptions();
        std::cout << voices.size() << " usable voices" << (errors.empty() ? "" : "; " + errors);
        if (!voices.empty()) {
            engine.speak("hola");
            engine.waitUntilDone();
        }
    }
    CoUninitialize();
}

}  // namespace
}  // namespace veldrisa
