// Marks espeak-ng would name in English, and the voices offered: their order, descriptions and loading.
#include <espeak-ng/speak_lib.h>
#include <gtest/gtest.h>
#include <utf8proc.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <thread>

#include "platform/sdl/espeak_speech_engine.hpp"
#include "platform/sdl/spanish_voices.hpp"
#include "platform/sdl/plain_forms.hpp"
#include "platform/shared/spoken_punctuation.hpp"
#include "support/speech_meter.hpp"

namespace veldrisa {
namespace {

using namespace std::chrono_literals;

// What reaches the engine is already lower-cased, as every message is.
TEST(PlainForms, InvisibleCharactersLoneAccentsAndOtherFormsOfLetters) {
    // Joiners, zero-width spaces and bidirectional controls would split the word in two.
    EXPECT_EQ(PlainForms("ma\u200dría \u200bana\u202e\u2066x\u2069\u00ad"), "maría anax");
    EXPECT_EQ(PlainForms("\u0301"), " acento agudo ");
    // In their canonical order: the cedilla first.
    EXPECT_EQ(PlainForms("a \u0308\u0327 b \u0351"), "a  cedilla  diéresis  b  marca diacrítica ");
    // A mark on a letter stays on it, composed where a composed letter exists.
    EXPECT_EQ(PlainForms("jose\u0301 n\u0303 n\u0308"), "josé ñ n\u0308");
    EXPECT_EQ(PlainForms("carlos \u217b \u216b \u2460 \ufb01n \uff48\uff4f\uff4c\uff41 \u2124"),
              "carlos xii XII 1 fin hola Z");
    // Latin-1's own forms, and symbols, which espeak-ng reads in Spanish as they are.
    EXPECT_EQ(PlainForms("1º 2ª ² ™ ㎞"), "1º 2ª ² ™ ㎞");
}

// What espeak-ng made of each text the engine handed it, in its phoneme notation, where a
// switch of language shows as "(en)".
class EspeakPunctuation : public ::testing::Test {
protected:
    void SetUp() override {
        audio = std::make_unique<AudioOutput>();
        engine = std::make_unique<EspeakSpeechEngine>(*audio);
        ASSERT_GT(engine->sampleRate(), 0) << "espeak-ng and its data must be installed";
        engine->setProbe(&meter);
    }
    void TearDown() override {
        // The engine's thread is idle between messages; the next message reads these settings
        // only after taking the engine's lock.
        espeak_SetPhonemeTrace(0, nullptr);
    }

    std::string PhonemesOf(const std::string& text) {
        std::FILE* trace = std::tmpfile();
        espeak_SetPhonemeTrace(espeakPHONEMES_SHOW, trace);
        engine->speak(text);
        auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!meter.latest().synthesisFinished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        espeak_SetPhonemeTrace(0, nullptr);
        std::string phonemes;
        std::rewind(trace);
        for (int c; (c = std::fgetc(trace)) != EOF;) phonemes += static_cast<char>(c);
        std::fclose(trace);
        return phonemes;
    }

    SpeechMeter meter;
    std::unique_ptr<AudioOutput> audio;
    std::unique_ptr<EspeakSpeechEngine> engine;
};

TEST_F(EspeakPunctuation, NoMarkIsNamedInEnglish) {
    std::string spoken = PhonemesOf("un poco de impulso... ¡zas! y... en fin… otra pérdida");
    EXPECT_EQ(spoken.find("(en)"), std::string::npos) << spoken;
    EXPECT_NE(spoken.find("p'untos"), std::string::npos) << spoken;

    // Every punctuation mark and symbol of Latin-1 and of the general punctuation block, one
    // at a time (letters such as ß are read within names, not named).
    std::vector<utf8proc_int32_t> marks;
    for (utf8proc_int32_t c = 0x21; c < 0x7f; ++c) marks.push_back(c);
    for (utf8proc_int32_t c = 0xa1; c < 0x100; ++c) marks.push_back(c);
    for (utf8proc_int32_t c = 0x2010; c < 0x2035; ++c) marks.push_back(c);
    for (utf8proc_int32_t c : marks) {
        if (utf8proc_category_string(c)[0] != 'P' && utf8proc_category_string(c)[0] != 'S') continue;
        utf8proc_uint8_t bytes[4];
        std::string mark(reinterpret_cast<char*>(bytes),
                         static_cast<std::size_t>(utf8proc_encode_char(c, bytes)));
        spoken = PhonemesOf("a " + mark + " b");
        EXPECT_EQ(spoken.find("(en)"), std::string::npos)
            << "U+" << std::hex << int(c) << " " << mark << ": " << spoken;
    }
}

// Heard once as "acute", "símbolo 2 1 6 b" and a name cut in two.
TEST_F(EspeakPunctuation, LoneAccentsRomanNumeralsAndJoinersAreReadInSpanish) {
    std::string spoken = PhonemesOf("\u0301");
    EXPECT_EQ(spoken.find("(en)"), std::string::npos) << spoken;
    EXPECT_NE(spoken.find("aT'Ento"), std::string::npos) << spoken;
    spoken = PhonemesOf("carlos \u217b");
    EXPECT_EQ(spoken.find("s'imbolo"), std::string::npos) << spoken;
    EXPECT_NE(spoken.find("'oTe"), std::string::npos) << spoken;
    EXPECT_EQ(PhonemesOf("ma\u200dria"), PhonemesOf("maria"));
}

std::vector<VoiceEntry> Listed() {
    return {{"mb/mb-es1", "es-es"}, {"roa/es-419", "es-419"}, {"roa/it", "it"},
            {"mb/mb-mx2", "es-mx"}, {"roa/es", "es"},         {"roa/es-xx-yy", "es-xx-yy"},
            {"mb/mb-es2", "es-es"}, {"mb/mb-fr1", "fr"}};
}

TEST(SpanishVoices, BuiltInFirstSpainLeadingThenFemaleThenMbrolaDescribedInWords) {
    auto voices = SpanishVoices(Listed(), true, [](const std::string&) { return true; });
    std::vector<std::string> names, descriptions;
    for (const auto& v : voices) {
        names.push_back(v.name);
        descriptions.push_back(v.description);
        for (char mark : std::string(",()-.;:/"))
            EXPECT_EQ(v.description.find(mark), std::string::npos) << v.description;
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"roa/es", "roa/es-419", "roa/es-xx-yy", "roa/es+f3", "roa/es-419+f3",
                                        "roa/es-xx-yy+f3", "mb/mb-es1", "mb/mb-es2", "mb/mb-mx2"}));
    EXPECT_EQ(descriptions.front(), "Español de España");
    EXPECT_EQ(descriptions[2], "Español xx yy");
    EXPECT_EQ(descriptions[3], "Español de España voz femenina");
    EXPECT_EQ(descriptions[6], "Español de España MBROLA 1");
    EXPECT_EQ(descriptions[8], "Español de México MBROLA 2");
    EXPECT_EQ(std::set<std::string>(descriptions.begin(), descriptions.end()).size(), descriptions.size());
}

TEST(SpanishVoices, AVoiceThatDoesNotLoadIsLeftOutWithItsFemaleVariant) {
    std::set<std::string> tried;
    auto voices = SpanishVoices(Listed(), false, [&](const std::string& name) {
        tried.insert(name);
        return name != "roa/es-419" && name != "mb/mb-es1";
    });
    std::vector<std::string> names;
    for (const auto& v : voices) names.push_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{"roa/es", "roa/es-xx-yy", "mb/mb-es2", "mb/mb-mx2"}));
    EXPECT_EQ(tried.count("roa/it"), 0u) << "only Spanish voices are tried";
}

TEST(SpanishVoices, TheRealListHasNoVoiceThatCannotSpeak) {
    SpeechMeter meter;
    AudioOutput audio;
    EspeakSpeechEngine engine(audio);
    engine.setProbe(&meter);
    auto voices = engine.voiceDescriptions();
    ASSERT_FALSE(voices.empty());
    // MBROLA's voices are listed by espeak-ng even where the mbrola program or its data is
    // missing; they are offered only where they speak.
    for (int i = 0; i < static_cast<int>(voices.size()); ++i) {
        engine.selectVoice(i);
        engine.speak("hola");
        auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!meter.latest().synthesisFinished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        EXPECT_GT(meter.latest().synthesizedSamples, 1000u) << voices[static_cast<std::size_t>(i)];
    }
}

}  // namespace
}  // namespace veldrisa
