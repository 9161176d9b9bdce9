// The speech layer on the recording engine: Habla, the last message and the voice controls.
#include <gtest/gtest.h>

#include "platform/recording/platform.hpp"
#include "speech/voz.hpp"

namespace veldrisa {
namespace {

// The speech state of a run whose engine has the given voices.
struct Altavoz {
    explicit Altavoz(std::vector<std::string> voces = RecordingSpeechEngine::DefaultVoices)
        : rp(RecordingOptions{.voices = std::move(voces)}) {
        BuscaVoces(v);
        rp.recorder.events.clear();
    }

    std::vector<EventKind> kinds() const {
        std::vector<EventKind> out;
        for (const auto& e : rp.recorder.events) out.push_back(e.kind);
        return out;
    }
    const Event& last() const { return rp.recorder.events.back(); }
    std::string lastSaid() const {
        for (auto it = rp.recorder.events.rbegin(); it != rp.recorder.events.rend(); ++it)
            if (it->kind == EventKind::Said) return it->text;
        return "<nothing said>";
    }

    RecordingPlatform rp;
    Voz v{&rp.speech, &rp.observer, {""}, 0, {}};
};

TEST(UltimoMensaje, KeepsOnlyTextsLongerThanTwoCharacters) {
    Altavoz h;
    Habla(h.v, "Hola", false, false);
    Habla(h.v, "ab", false, false);
    EXPECT_EQ(h.v.UltimoMensaje, "Hola");
    Habla(h.v, "abc", false, false);
    EXPECT_EQ(h.v.UltimoMensaje, "abc");
    Calla(h.v);
    EXPECT_EQ(h.v.UltimoMensaje, "abc");
}

TEST(UltimoMensaje, CountsCharactersNotBytes) {
    Altavoz h;
    Habla(h.v, "Hola", false, false);
    Habla(h.v, "ñó", false, false);  // four bytes, two characters
    EXPECT_EQ(h.v.UltimoMensaje, "Hola");
    Habla(h.v, "¿Sí", false, false);
    EXPECT_EQ(h.v.UltimoMensaje, "¿Sí");
}

TEST(Habla, EngineGetsLowerCaseWhileTheCallerCaseIsKept) {
    Altavoz h;
    Habla(h.v, "ÓSCAR Y Ñandú", false, false);
    ASSERT_EQ(h.rp.recorder.events.size(), 2u);
    EXPECT_EQ(h.rp.recorder.events[0], Event::said("ÓSCAR Y Ñandú", false, false));
    EXPECT_EQ(h.last(), Event(EventKind::Spoke, "óscar y ñandú"));
    EXPECT_EQ(h.v.UltimoMensaje, "ÓSCAR Y Ñandú");
}

TEST(Habla, WaitFlagsWaitBeforeAndAfterSpeaking) {
    Altavoz h;
    Habla(h.v, "uno", true, false);
    Habla(h.v, "dos", false, true);
    Habla(h.v, "tres", true, true);
    using K = EventKind;
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::Said, K::Waited, K::Spoke, K::Said, K::Spoke, K::Waited, K::Said,
                                         K::Waited, K::Spoke, K::Waited}));
    EXPECT_TRUE(h.rp.recorder.events[0].before);
    EXPECT_TRUE(h.rp.recorder.events[3].after);
}

TEST(Habla, RepeatAndSilence) {
    Altavoz h;
    Habla(h.v, "Mensaje largo", false, false);
    Calla(h.v);
    EXPECT_EQ(h.last(), Event(EventKind::Spoke, ""));
    RepiteMensaje(h.v);
    EXPECT_EQ(h.lastSaid(), "Mensaje largo");
    EXPECT_EQ(h.last().text, "mensaje largo");
}

TEST(Velocidad, StepsFiveOrOneWithAnyModifier) {
    Altavoz h;
    BajaVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), -5);
    for (int mod : {ModShift, ModControl, ModAlt, ModShift | ModAlt}) {
        BajaVelocidad(h.v, mod);
        SubeVelocidad(h.v, mod);
        SubeVelocidad(h.v, mod);
    }
    EXPECT_EQ(h.rp.speech.rate(), -1);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), 4);
    EXPECT_EQ(h.lastSaid(), "Velocidad de la voz más rápida");
}

TEST(Velocidad, NewRateAppliesToTheConfirmation) {
    Altavoz h;
    BajaVelocidad(h.v, 0);
    using K = EventKind;
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::RateSet, K::Said, K::Spoke}));
    EXPECT_EQ(h.lastSaid(), "Velocidad de la voz más lenta");
}

TEST(Velocidad, StopsAreTestedBeforeTheStep) {
    Altavoz h;
    h.rp.speech.setRate(-49);
    BajaVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), -54);
    EXPECT_EQ(h.lastSaid(), "Velocidad de la voz más lenta");
    h.rp.recorder.events.clear();
    BajaVelocidad(h.v, ModShift);
    EXPECT_EQ(h.rp.speech.rate(), -54);
    EXPECT_EQ(h.lastSaid(), "Velocidad mínima");
    EXPECT_TRUE(h.rp.recorder.events.front().kind == EventKind::Said) << "no rate may be set at the stop";

    h.rp.speech.setRate(-50);
    BajaVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), -50);
    EXPECT_EQ(h.lastSaid(), "Velocidad mínima");
}

TEST(Velocidad, UpperStopMirrorsTheLowerOne) {
    Altavoz h;
    h.rp.speech.setRate(49);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), 54);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), 54);
    EXPECT_EQ(h.lastSaid(), "Velocidad máxima");
    h.rp.speech.setRate(50);
    SubeVelocidad(h.v, ModControl);
    EXPECT_EQ(h.rp.speech.rate(), 50);
    EXPECT_EQ(h.lastSaid(), "Velocidad máxima");
    h.rp.speech.setRate(-50);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rp.speech.rate(), -45);
}

TEST(Voces, WrapAroundBothWays) {
    Altavoz h({"Ana", "Bea", "Carla"});
    ASSERT_EQ(h.v.Voces, (std::vector<std::string>{"Ana", "Bea", "Carla"}));
    VozAnterior(h.v);
    EXPECT_EQ(h.v.VozActual, 2);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 2);
    EXPECT_EQ(h.lastSaid(), "Carla");
    VozSiguiente(h.v);
    EXPECT_EQ(h.v.VozActual, 0);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 0);
    EXPECT_EQ(h.lastSaid(), "Ana");
    VozSiguiente(h.v);
    EXPECT_EQ(h.lastSaid(), "Bea");
}

TEST(Voces, SelectsTheVoiceBeforeAnnouncingIt) {
    Altavoz h({"Ana", "Bea"});
    VozSiguiente(h.v);
    using K = EventKind;
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::VoiceSelected, K::Said, K::Spoke}));
    EXPECT_FALSE(h.rp.recorder.events[1].before);
    EXPECT_FALSE(h.rp.recorder.events[1].after);
}

TEST(Voces, OneVoiceStaysSelectedAndIsAnnounced) {
    Altavoz h;
    for (auto paso : {VozAnterior, VozSiguiente}) {
        h.rp.recorder.events.clear();
        paso(h.v);
        EXPECT_EQ(h.v.VozActual, 0);
        EXPECT_EQ(h.rp.recorder.events.front(), Event(EventKind::VoiceSelected, "", 0));
        EXPECT_EQ(h.lastSaid(), "Voz de prueba");
    }
}

TEST(Voces, AnEmptyDescriptionIsOverwrittenByTheNext) {
    // The engine's positions 1 and 3 land at 0 and 1, so selecting by list index
    // reaches a different voice than the one announced: that is how the list is built.
    Altavoz h({"", "Ana", "", "Bea"});
    EXPECT_EQ(h.v.Voces, (std::vector<std::string>{"Ana", "Bea"}));
    VozSiguiente(h.v);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 1);
    EXPECT_EQ(h.lastSaid(), "Bea");
}

TEST(Voces, ATrailingEmptyDescriptionStaysAsAnEntry) {
    Altavoz h({"Ana", ""});
    EXPECT_EQ(h.v.Voces, (std::vector<std::string>{"Ana", ""}));
    VozAnterior(h.v);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 1);
    EXPECT_EQ(h.last(), Event(EventKind::Spoke, ""));
}

TEST(Voces, NoneOrOnlyEmptyDescriptionsLeaveOneEmptyEntry) {
    EXPECT_EQ(Altavoz(std::vector<std::string>{}).v.Voces, std::vector<std::string>{""});
    EXPECT_EQ(Altavoz({"", ""}).v.Voces, std::vector<std::string>{""});
}

TEST(Voces, BuscaVocesStartsAFreshVoice) {
    Altavoz h({"Ana", "Bea"});
    VozSiguiente(h.v);
    h.rp.speech.setRate(20);
    BuscaVoces(h.v);
    EXPECT_EQ(h.rp.speech.rate(), 0);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 0);
}

}  // namespace
}  // namespace veldrisa
