// The speech layer on the recording engine: Habla, the last message and the voice controls.
#include <gtest/gtest.h>

#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"
#include "speech/voz.hpp"

namespace veldrisa {
namespace {

using K = EventKind;

// The speech state of a run whose engine has the given voices, the list already built.
struct Altavoz {
    explicit Altavoz(std::vector<std::string> voces = RecordingSpeechEngine::DefaultVoices)
        : rp(RecordingOptions{.voices = std::move(voces)}) {
        BuscaVoces(v);
        rp.recorder.events.clear();
    }

    std::vector<K> kinds() const {
        std::vector<K> out;
        for (const auto& e : rp.recorder.events) out.push_back(e.kind);
        return out;
    }
    std::string lastSaid() const {
        for (auto it = rp.recorder.events.rbegin(); it != rp.recorder.events.rend(); ++it)
            if (it->kind == K::Said) return it->text;
        return "<nothing said>";
    }
    int rate() const { return rp.speech.rate(); }

    RecordingPlatform rp;
    Voz v{&rp.speech, &rp.observer};
};

TEST(Habla, KeepsOnlyMessagesLongerThanTwoCharacters) {
    Altavoz h;
    Habla(h.v, "Hola", false, false);
    Habla(h.v, "ab", false, false);
    Habla(h.v, "ñó", false, false);  // four bytes but two characters
    Calla(h.v);
    EXPECT_EQ(h.v.UltimoMensaje, "Hola");
    Habla(h.v, "¿Sí", false, false);
    EXPECT_EQ(h.v.UltimoMensaje, "¿Sí");
    RepiteMensaje(h.v);
    EXPECT_EQ(h.rp.recorder.events.back(), Event(K::Spoke, "¿sí"));
}

TEST(Calla, IsHeardAsTheEmptyMessageButStopsTheEngine) {
    Altavoz h;
    Habla(h.v, "Hola", false, false);
    h.rp.recorder.events.clear();
    Calla(h.v);
    EXPECT_EQ(h.rp.recorder.events, (std::vector<Event>{Event::said("", false, false), Event(K::Stopped)}));
    EXPECT_EQ(h.v.UltimoMensaje, "Hola");
}

TEST(Habla, EngineGetsLowerCaseWhileTheCallerCaseIsKept) {
    Altavoz h;
    Habla(h.v, "ÓSCAR Y Ñandú", false, false);
    EXPECT_EQ(h.rp.recorder.events,
              (std::vector<Event>{Event::said("ÓSCAR Y Ñandú", false, false), Event(K::Spoke, "óscar y ñandú")}));
    EXPECT_EQ(h.v.UltimoMensaje, "ÓSCAR Y Ñandú");
}

TEST(Habla, WaitFlagsWaitBeforeAndAfterSpeaking) {
    Altavoz h;
    Habla(h.v, "uno", true, false);
    Habla(h.v, "dos", false, true);
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::Said, K::Waited, K::Spoke, K::Said, K::Spoke, K::Waited}));
    EXPECT_EQ(h.rp.recorder.events[3], Event::said("dos", false, true));
}

TEST(Velocidad, StepsFiveOrOneWithAnyModifierAndTheNewRateSpeaksTheConfirmation) {
    Altavoz h;
    BajaVelocidad(h.v, 0);
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::RateSet, K::Said, K::Spoke}));
    EXPECT_EQ(h.lastSaid(), "Velocidad de la voz más lenta");
    for (int mod : {ModShift, ModControl, ModAlt, ModShift | ModAlt}) {
        BajaVelocidad(h.v, mod);
        SubeVelocidad(h.v, mod);
        SubeVelocidad(h.v, mod);
    }
    EXPECT_EQ(h.rate(), -1);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rate(), 4);
    EXPECT_EQ(h.lastSaid(), "Velocidad de la voz más rápida");
}

TEST(Velocidad, StopsAreTestedBeforeTheStep) {
    Altavoz h;
    h.rp.speech.setRate(-49);
    BajaVelocidad(h.v, 0);
    EXPECT_EQ(h.rate(), -54);
    h.rp.recorder.events.clear();
    BajaVelocidad(h.v, ModShift);
    EXPECT_EQ(h.rate(), -54);
    EXPECT_EQ(h.kinds(), (std::vector<K>{K::Said, K::Spoke})) << "no rate may be set at the stop";
    EXPECT_EQ(h.lastSaid(), "Velocidad mínima");
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rate(), -49);

    h.rp.speech.setRate(49);
    SubeVelocidad(h.v, 0);
    EXPECT_EQ(h.rate(), 54);
    h.rp.speech.setRate(50);
    SubeVelocidad(h.v, ModControl);
    EXPECT_EQ(h.rate(), 50);
    EXPECT_EQ(h.lastSaid(), "Velocidad máxima");
}

TEST(Voces, WrapAroundBothWaysSelectingBeforeAnnouncing) {
    Altavoz h({"Ana", "Bea", "Carla"});
    VozAnterior(h.v);
    EXPECT_EQ(h.v.VozActual, 2);
    EXPECT_EQ(h.rp.recorder.events,
              (std::vector<Event>{Event(K::VoiceSelected, "", 2), Event::said("Carla", false, false),
                                  Event(K::Spoke, "carla")}));
    VozSiguiente(h.v);
    EXPECT_EQ(h.v.VozActual, 0);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 0);
    EXPECT_EQ(h.lastSaid(), "Ana");
}

TEST(Voces, OneVoiceStaysSelectedAndIsAnnounced) {
    Altavoz h;
    for (auto paso : {VozAnterior, VozSiguiente}) {
        h.rp.recorder.events.clear();
        paso(h.v);
        EXPECT_EQ(h.v.VozActual, 0);
        EXPECT_EQ(h.rp.recorder.events.front(), Event(K::VoiceSelected, "", 0));
        EXPECT_EQ(h.lastSaid(), "Voz de prueba");
    }
}

TEST(Voces, AnEmptyDescriptionIsOverwrittenByTheNext) {
    // The engine's positions 1 and 3 land at 0 and 1, so selecting by list index
    // reaches another voice than the one announced: that is how the list is built.
    Altavoz h({"", "Ana", "", "Bea"});
    EXPECT_EQ(h.v.Voces, (std::vector<std::string>{"Ana", "Bea"}));
    VozSiguiente(h.v);
    EXPECT_EQ(h.rp.speech.selectedVoice(), 1);
    EXPECT_EQ(h.lastSaid(), "Bea");

    EXPECT_EQ(Altavoz({"Ana", ""}).v.Voces, (std::vector<std::string>{"Ana", ""}));
    EXPECT_EQ(Altavoz({"", ""}).v.Voces, std::vector<std::string>{""});
    EXPECT_EQ(Altavoz(std::vector<std::string>{}).v.Voces, std::vector<std::string>{""});
}

}  // namespace
}  // namespace veldrisa
