// The run loop on a scripted window: keys in order, the waits' rules, closing, waking, drawing.
#include "app/bucle.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <vector>

#include "platform/recording/connection.hpp"
#include "platform/recording/platform.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

WindowEvent Pulsa(int code, int mask = 0, bool repeat = false) {
    WindowEvent e;
    e.key = {code, mask};
    e.repeat = repeat;
    e.physical = code;
    return e;
}
WindowEvent Escribe(std::string text) {
    WindowEvent e;
    e.kind = WindowEvent::Kind::Text;
    e.text = std::move(text);
    return e;
}
WindowEvent Cierre() {
    WindowEvent e;
    e.kind = WindowEvent::Kind::Close;
    return e;
}

// Hands over what it was given; once it runs dry the player closes the window.
class VentanaGuion : public Window {
public:
    std::optional<WindowEvent> poll() override {
        if (llegan.empty()) return std::nullopt;
        WindowEvent e = llegan.front();
        llegan.pop_front();
        return e;
    }
    WindowEvent wait() override { return llegan.empty() ? Cierre() : *poll(); }
    void wake() override {
        WindowEvent e;
        e.kind = WindowEvent::Kind::Wake;
        llegan.push_back(e);
    }
    void show(const View& view) override { vistas.push_back(view); }

    std::deque<WindowEvent> llegan;
    std::vector<View> vistas;
};

// A recording voice whose waits let the next batch of scripted keys arrive, as keys arrive while
// the real engine waits, and pump the loop.
class VozQueEspera : public RecordingSpeechEngine {
public:
    using RecordingSpeechEngine::RecordingSpeechEngine;
    void waitUntilDone() override {
        RecordingSpeechEngine::waitUntilDone();
        if (!enEspera.empty()) {
            for (auto& e : enEspera.front()) ventana->llegan.push_back(e);
            enEspera.pop_front();
        }
        if (pump) pump();
    }
    VentanaGuion* ventana = nullptr;
    std::deque<std::vector<WindowEvent>> enEspera;  // one batch per wait
    std::function<bool()> pump;
};

struct Partida {
    Partida() {
        voz.ventana = &ventana;
        voz.pump = [this] { return bucle.DuranteEspera(); };
        EXPECT_TRUE(programa.Inicia());
        rp.recorder.events.clear();
    }
    // Runs the loop over the keys given, the keys of the waits arriving during each wait.
    void Juega(std::vector<WindowEvent> teclas) {
        for (auto& e : teclas) ventana.llegan.push_back(e);
        bucle.Ejecuta();
    }
    std::vector<std::string> Dichos() const {
        std::vector<std::string> out;
        for (const auto& e : rp.recorder.events)
            if (e.kind == EventKind::Said) out.push_back(e.text);
        return out;
    }
    int Cuenta(EventKind k, const std::string& texto = "\x01") const {
        int n = 0;
        for (const auto& e : rp.recorder.events) n += e.kind == k && (texto == "\x01" || e.text == texto);
        return n;
    }

    RecordingPlatform rp;
    VozQueEspera voz{rp.recorder};
    VentanaGuion ventana;
    Platform puertos{
        voz, {&rp.sound1, &rp.sound2, &rp.sound3, &rp.sound4}, rp.beeper, rp.clock, rp.folders, &rp.observer};
    Programa programa{puertos};
    Bucle bucle{programa, ventana};
};

struct BucleTest : ::testing::Test, Partida {};

using namespace Tecla;

// Space selects character 1 and waits before its hint: what is typed meanwhile renames it.
TEST_F(BucleTest, ANameTypedDuringAWaitReachesTheFieldItsKeyOpens) {
    voz.enEspera.push_back({Pulsa(F2), Pulsa('B', ModShift), Escribe("B"), Pulsa('O'), Escribe("o"),
                            Pulsa('B'), Escribe("b"), Pulsa(Enter)});
    Juega({Pulsa(Espacio)});
    EXPECT_EQ(programa.Personajes[1].Nombre, "Bob");
    EXPECT_EQ(Cuenta(EventKind::Beep), 0);
    EXPECT_EQ(Dichos().back(), "BobSeleccionado");
    EXPECT_TRUE(programa.Terminado());
}

TEST_F(BucleTest, DuringAWaitControlEndsTheMessageAndOtherKeysKeepTheirPlace) {
    voz.enEspera.push_back({Pulsa(Derecha), Pulsa(Control, ModControl), Pulsa(Derecha)});
    Juega({Pulsa(Espacio)});
    EXPECT_EQ(programa.formIni.PersonajeActual, 3) << "both arrows were handled after the wait";
    EXPECT_EQ(Cuenta(EventKind::Stopped), 1) << "Control silenced the voice at once";
    EXPECT_EQ(Cuenta(EventKind::Said, ""), 0) << "and never reached the game as a key";
}

TEST_F(BucleTest, DuringAWaitEscapeLeavesAtOnceWhateverWasQueued) {
    std::vector<WindowEvent> flood(40, Pulsa(Abajo));
    flood.push_back(Pulsa(Escape));
    voz.enEspera.push_back(flood);
    Juega({Pulsa(Espacio)});
    EXPECT_TRUE(programa.Terminado()) << "Escape was not lost behind the flood";
    EXPECT_EQ(programa.formIni.PersonajeActual, 1) << "the arrows before it were dropped with the game";
    EXPECT_EQ(Cuenta(EventKind::Stopped), 1) << "the voice stopped";

    Partida otra;
    otra.voz.enEspera.push_back({Pulsa(Derecha), Pulsa(F4, ModAlt)});
    otra.Juega({Pulsa(Espacio)});
    EXPECT_TRUE(otra.programa.Terminado()) << "Alt+F4 as well";
}

// Online, Escape leaves the table for the hall, not the whole game: during a wait it only silences
// the voice and keeps its place.
TEST_F(BucleTest, OnlineEscapeDuringAWaitLeavesTheTableNotTheGame) {
    FakeConnection red;
    programa.PermiteEnLinea(red, {"127.0.0.1", ""});
    programa.Tecla(F3, 0);
    red.opened(std::string(64, 'A'), true);
    red.message(R"({"type":"welcome","version":1,"token":"0123456789abcdef0123456789abcdef"})");
    programa.Red();
    programa.Responde("Ana");
    red.message(
        R"({"type":"table","id":"t1","private":false,"time_limit":0,"creator":true,"spectator":false,)"
        R"("started":true,"spectators":0,"characters":[]})");
    red.message(R"({"type":"say","text":"Un mensaje largo","before":false,"after":true})");
    voz.enEspera.push_back({Pulsa(Escape)});
    ventana.wake();
    bucle.Ejecuta([this] { programa.Red(); });
    const auto enviados = red.takeSent();
    EXPECT_NE(std::find_if(enviados.begin(), enviados.end(),
                           [](const std::string& m) { return m.find("\"leave\"") != std::string::npos; }),
              enviados.end());
    EXPECT_GE(Cuenta(EventKind::Stopped), 1) << "the voice stopped at once";
    EXPECT_EQ(Dichos().back().rfind("Ha dejado la mesa", 0), 0u) << Dichos().back();
}

TEST_F(BucleTest, DuringAWaitAHeldKeyCountsOnceAndKeysBeyondTheLimitAreDroppedWithOneBeep) {
    std::vector<WindowEvent> held{Pulsa(Derecha)};
    for (int i = 0; i < 50; ++i) held.push_back(Pulsa(Derecha, 0, true));
    voz.enEspera.push_back(held);
    std::vector<WindowEvent> flood;
    for (int i = 0; i < 100; ++i) flood.push_back(Pulsa(i % 2 ? Izquierda : Derecha));
    // Space selects and waits; the held arrow moves once, to 2, where the next Space waits again.
    Juega({Pulsa(Espacio)});
    EXPECT_EQ(programa.formIni.PersonajeActual, 2) << "the repeats were folded into one press";
    EXPECT_EQ(Cuenta(EventKind::Beep), 0) << "folding drops no key the player pressed";
    Partida otra;
    otra.voz.enEspera.push_back(flood);
    otra.Juega({Pulsa(Espacio)});
    EXPECT_EQ(otra.Cuenta(EventKind::Beep), 1) << "one beep for the keys beyond the limit";
    EXPECT_EQ(otra.programa.formIni.PersonajeActual, 1)
        << "32 alternating arrows leave the cursor where it was";
}

TEST_F(BucleTest, AKeyThatClosesTheFieldDoesNotRepeatIntoTheScreenBelow) {
    Juega({Pulsa(F2), Escribe("Ana"), Pulsa(Enter), Pulsa(Enter, 0, true), Pulsa(Enter, 0, true), Pulsa(F2),
           Pulsa(Escape), Pulsa(Escape, 0, true), Pulsa(Derecha), Pulsa(Escape)});
    EXPECT_EQ(programa.Personajes[1].Nombre, "Ana");
    EXPECT_EQ(Cuenta(EventKind::Screen), 0) << "the held Enter did not start the game";
    EXPECT_EQ(programa.formIni.PersonajeActual, 2) << "the held Escape did not leave; a new key went through";
    EXPECT_TRUE(programa.Terminado());
}

TEST_F(BucleTest, TheKeysBeforeACloseRequestAreHandledAndNoneAfterIt) {
    Juega({Pulsa(Derecha), Cierre(), Pulsa(Derecha)});
    EXPECT_TRUE(programa.Terminado());
    EXPECT_EQ(programa.formIni.PersonajeActual, 2);
}

TEST_F(BucleTest, AnotherSourceIsHeardBetweenTwoKeys) {
    int despertado = 0;
    ventana.llegan = {Pulsa(Derecha)};
    ventana.wake();
    bucle.Ejecuta([&] {
        ++despertado;
        EXPECT_EQ(programa.formIni.PersonajeActual, 2) << "after the key that came before";
    });
    EXPECT_EQ(despertado, 1);
}

TEST_F(BucleTest, ABurstIsDrawnOnceItIsHandledNotAfterEveryKey) {
    std::vector<WindowEvent> burst(500, Pulsa(Derecha));
    burst.push_back(Pulsa(F2));
    Juega(burst);
    ASSERT_FALSE(ventana.vistas.empty());
    EXPECT_LT(ventana.vistas.size(), 50u);
    const View& ultima = ventana.vistas.back();
    ASSERT_TRUE(ultima.field) << "the last view shows the field open";
    EXPECT_EQ(std::get<SetupView>(ultima.screen).cursor, 500 % 10 + 1);
}

}  // namespace
}  // namespace veldrisa
