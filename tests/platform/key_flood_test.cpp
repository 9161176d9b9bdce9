// Ten thousand keys typed while the program is busy, on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "app/bucle.hpp"
#include "app/programa.hpp"
#include "common/unicode.hpp"
#include "platform/sdl/game_window.hpp"

namespace veldrisa {
namespace {

using namespace std::chrono_literals;

constexpr int Flood = 10000;

struct Typed {
    SDL_Keycode key;
    SDL_Scancode scancode;
    Uint16 mod;
    bool repeat = false;  // the auto-repeat of a held key
};

void Push(const Typed& t) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = t.key;
    e.key.keysym.scancode = t.scancode;
    e.key.keysym.mod = t.mod;
    e.key.repeat = t.repeat;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// The same pseudo-random sequence on every run.
struct Dice {
    std::uint32_t state;
    int operator()(int n) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    }
};

// The next key the window hands over, skipping typed text; none once it is asked to close.
std::optional<KeyEvent> NextKey(GameWindow& window) {
    for (;;) {
        WindowEvent e = window.wait();
        if (e.kind == WindowEvent::Kind::Close) return std::nullopt;
        if (e.kind == WindowEvent::Kind::Key) return e.key;
    }
}

class KeyFloodTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        std::string error;
        window = GameWindow::Open(error);
        ASSERT_TRUE(window) << error;
    }
    void TearDown() override {
        window.reset();
        SDL_Quit();
    }

    // Types the keys from another thread while this one is busy with something else.
    void TypeWhileBusy(const std::vector<Typed>& keys, const std::function<void(std::size_t)>& between = {}) {
        std::thread typist([&] { Type(keys, between); });
        typist.join();
    }
    static void Type(const std::vector<Typed>& keys, const std::function<void(std::size_t)>& between) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            Push(keys[i]);
            if (between) between(i);
            if (i % 512 == 0) std::this_thread::sleep_for(200us);
        }
    }

    std::unique_ptr<GameWindow> window;
};

TEST_F(KeyFloodTest, TenThousandKeysTypedWhileTheGameIsBusyComeBackInOrderWithTheirMasks) {
    struct Kind {
        Typed typed;
        KeyEvent expected;
    };
    const Kind kinds[] = {
        {{SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE}, {Tecla::Derecha, 0}},
        {{SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE}, {Tecla::Espacio, 0}},
        {{SDLK_1, SDL_SCANCODE_1, KMOD_LCTRL}, {Tecla::Digito(1), ModControl}},
        {{SDLK_F8, SDL_SCANCODE_F8, KMOD_RSHIFT}, {Tecla::F8, ModShift}},
        {{SDLK_a, SDL_SCANCODE_A, KMOD_LALT}, {Tecla::A, ModAlt}},
        {{SDLK_KP_3, SDL_SCANCODE_KP_3, KMOD_NUM}, {Tecla::DigitoNumerico(3), 0}},
        {{SDLK_0, SDL_SCANCODE_0, KMOD_LSHIFT | KMOD_RCTRL | KMOD_CAPS}, {Tecla::Cero, ModShift | ModControl}},
        {{SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE}, {Tecla::Control, ModControl}},
        {{SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE}, {Tecla::Enter, 0}},
        {{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_LCTRL | KMOD_LALT}, {Tecla::Escape, ModControl | ModAlt}},
    };
    Dice dice{7};
    std::vector<Typed> keys;
    std::vector<KeyEvent> expected;
    for (int i = 0; i < Flood; ++i) {
        const Kind& k = kinds[dice(std::size(kinds))];
        keys.push_back(k.typed);
        expected.push_back(k.expected);
    }
    // Between the keys, what a busy window also receives: typed text, keys the game has no
    // code for and redraws; none of them may take a key's place.
    TypeWhileBusy(keys, [](std::size_t i) {
        SDL_Event e{};
        if (i % 7 == 0) {
            e.type = SDL_TEXTINPUT;
            SDL_strlcpy(e.text.text, "ñ", sizeof e.text.text);
        } else if (i % 11 == 0) {
            e.type = SDL_KEYDOWN;
            e.key.keysym.sym = SDLK_AUDIOPLAY;
            e.key.keysym.scancode = SDL_SCANCODE_AUDIOPLAY;
        } else if (i % 13 == 0) {
            e.type = SDL_WINDOWEVENT;
            e.window.event = SDL_WINDOWEVENT_EXPOSED;
        } else {
            return;
        }
        ASSERT_EQ(SDL_PushEvent(&e), 1);
    });
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);

    for (int i = 0; i < Flood; ++i) {
        auto got = NextKey(*window);
        ASSERT_EQ(got, std::optional<KeyEvent>(expected[static_cast<std::size_t>(i)])) << "key " << i;
    }
    EXPECT_EQ(NextKey(*window), std::nullopt) << "the close request comes after every key";
}

// The platform the game sees: speech written down, a wait that pumps the run loop as the real
// engine's does, and silent rooms.
class PumpingSpeech : public SpeechEngine {
public:
    bool available() override { return true; }
    void createVoice() override { rate_ = 0; }
    std::vector<std::string> voiceDescriptions() override { return {"Voz de prueba"}; }
    void selectVoice(int) override {}
    int rate() const override { return rate_; }
    void setRate(int rate) override { rate_ = rate; }
    void speak(std::string text) override { spoken.push_back(std::move(text)); }
    // A silence is written down as the empty message.
    void stop() override { spoken.emplace_back(); }
    void waitUntilDone() override {
        ++waits;
        if (pump) pump();
    }

    std::vector<std::string> spoken;
    int waits = 0;
    std::function<bool()> pump;

private:
    int rate_ = 0;
};
struct Silent : SoundPlayer, Beeper {
    void setFileName(const std::string&) override {}
    void play() override {}
    void stop() override {}
    void setVolume(int) override {}
    void beep() override {}
};
struct Fixed : Clock, Folders {
    std::uint32_t seed() override { return 1; }
    std::string programFolder() override { return "./"; }
    void setCurrentDirectory(const std::string&) override {}
};

TEST_F(KeyFloodTest, TheWholeProgramHandlesEveryKeyOfAFloodToItsEndInOrder) {
    PumpingSpeech speech;
    Silent silent;
    Fixed fixed;
    Platform platform{speech, {&silent, &silent, &silent, &silent}, silent, fixed, fixed, nullptr};
    Programa programa(platform);
    ASSERT_TRUE(programa.Inicia());
    std::array<std::string, 11> names;
    for (int i = 1; i <= 10; ++i) names[static_cast<std::size_t>(i)] = programa.Personajes[static_cast<std::size_t>(i)].Nombre;

    // Arrows move the cursor, Space selects, F7 and F8 change the rate by 5, or by 1 with a
    // modifier held: the mask must reach the game intact for the arithmetic to come out.
    const Typed kinds[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE},   {SDLK_UP, SDL_SCANCODE_UP, KMOD_LSHIFT},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE}, {SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_RCTRL},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE}, {SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE},
        {SDLK_F7, SDL_SCANCODE_F7, KMOD_NONE},       {SDLK_F8, SDL_SCANCODE_F8, KMOD_LALT},
        {SDLK_F8, SDL_SCANCODE_F8, KMOD_NONE},
    };
    Dice dice{11};
    std::vector<Typed> keys;
    for (int i = 0; i < Flood; ++i) keys.push_back(kinds[dice(std::size(kinds))]);
    keys.push_back({SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE});

    // What a player would hear, worked out by hand.
    const std::string hint = "pulse f2 si desea cambiar el nombre del personaje";
    std::vector<std::string> expected = speech.spoken;
    expected.insert(expected.end(), {"seleccionado", hint});
    int cursor = 1, rate = 0;
    std::array<bool, 11> selected{};
    selected[1] = true;
    auto status = [&] { return selected[static_cast<std::size_t>(cursor)] ? "seleccionado" : "no seleccionado"; };
    for (const Typed& k : keys) {
        const int step = k.mod ? 1 : 5;
        switch (k.key) {
        case SDLK_LEFT:
        case SDLK_UP: cursor = cursor == 1 ? 10 : cursor - 1; break;
        case SDLK_RIGHT:
        case SDLK_DOWN: cursor = cursor == 10 ? 1 : cursor + 1; break;
        case SDLK_SPACE:
            selected[static_cast<std::size_t>(cursor)] ^= true;
            expected.push_back(status());
            if (selected[static_cast<std::size_t>(cursor)]) expected.push_back(hint);
            continue;
        case SDLK_F7:
            expected.push_back(rate <= -50 ? "velocidad mínima" : "velocidad de la voz más lenta");
            if (rate > -50) rate -= step;
            continue;
        case SDLK_F8:
            expected.push_back(rate >= 50 ? "velocidad máxima" : "velocidad de la voz más rápida");
            if (rate < 50) rate += step;
            continue;
        default: continue;
        }
        expected.push_back(Minusculas(names[static_cast<std::size_t>(cursor)]) + status());
    }

    // The flood is typed while the program is busy but not waiting: every key must reach it.
    Push({SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE});
    TypeWhileBusy(keys);
    // The program's own loop, with the keys it finds waiting in the window.
    Bucle bucle(programa, *window);
    speech.pump = [&bucle] { return bucle.DuranteEspera(); };
    bucle.Ejecuta();

    EXPECT_TRUE(programa.Terminado()) << "the Escape at the end of the flood was reached";
    EXPECT_EQ(programa.formIni.PersonajeActual, cursor);
    EXPECT_EQ(speech.rate(), rate);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(programa.Personajes[static_cast<std::size_t>(i)].Controlado, selected[static_cast<std::size_t>(i)]) << i;
    ASSERT_EQ(speech.spoken.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(speech.spoken[i], expected[i]) << "message " << i;
    EXPECT_GT(speech.waits, 100) << "selections wait before their hint";
}

}  // namespace
}  // namespace veldrisa
