// The window's key queue, its text layout and the name dialog, on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/sdl/game_window.hpp"
#include "platform/sdl/sdl_text_dialog.hpp"
#include "platform/sdl/utf8_text.hpp"
#include "setup/nombres_raros.hpp"

namespace veldrisa {
namespace {

// Writes down what the dialog speaks.
class HeardSpeech : public SpeechEngine {
public:
    void createVoice() override {}
    std::vector<std::string> voiceDescriptions() override { return {}; }
    void selectVoice(int) override {}
    int rate() const override { return 0; }
    void setRate(int) override {}
    void speak(std::string text) override { heard.push_back(std::move(text)); }
    void waitUntilDone() override {}

    std::vector<std::string> heard;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        std::string error;
        window = GameWindow::Open(error);
        ASSERT_TRUE(window) << error;
        ASSERT_TRUE(window->textFont()) << "the DejaVu fonts must be installed";
    }
    void TearDown() override {
        window.reset();
        SDL_Quit();
    }

    static void Key(SDL_Keycode key, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    static void Type(const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, text, sizeof e.text.text);
        SDL_PushEvent(&e);
    }
    static void Quit() {
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }

    std::string Ask(const std::string& initial) {
        SdlTextDialog dialog(*window, speech);
        return dialog.ask("Cambiar el nombre al personaje",
                          "Escriba el nombre del personaje y pulse enter:", initial);
    }

    // What the window shows, pixel by pixel.
    std::vector<Uint32> Shown() const {
        std::vector<Uint32> pixels(static_cast<std::size_t>(window->Width() * window->Height()));
        SDL_RenderReadPixels(window->renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             window->Width() * 4);
        return pixels;
    }

    std::unique_ptr<GameWindow> window;
    HeardSpeech speech;
};

TEST_F(WindowTest, KeysPressedDuringAWaitAreHandledAfterItInOrder) {
    Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    Key(SDLK_SPACE, SDL_SCANCODE_SPACE);
    EXPECT_TRUE(window->Pump());
    Key(SDLK_1, SDL_SCANCODE_1, KMOD_LCTRL);
    Key(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY);
    Quit();
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::Derecha, 0}));
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::Espacio, 0}));
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::Digito(1), ModControl}));
    EXPECT_EQ(window->NextKey(), std::nullopt) << "the close comes after the keys before it";
    EXPECT_TRUE(window->Closed());
    EXPECT_FALSE(window->Pump());
}

TEST_F(WindowTest, ANameTypedWhileTheGameWasBusyReachesTheDialog) {
    Key(SDLK_F2, SDL_SCANCODE_F2);
    Key(SDLK_a, SDL_SCANCODE_A);
    Type("a");
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_TRUE(window->Pump());
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::F2, 0}));
    EXPECT_EQ(Ask("Tom"), "a") << "what followed F2 belongs to the dialog it opens";
    Key(SDLK_SPACE, SDL_SCANCODE_SPACE);
    Type(" ");
    Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::Espacio, 0}));
    EXPECT_EQ(window->NextKey(), (KeyEvent{Tecla::Escape, 0})) << "typed text means nothing to the game";
}

TEST_F(WindowTest, TextIsWrappedToTheWidthWithItsLineBreaks) {
    TTF_Font* font = window->textFont();
    const int width = 700;
    auto lines = window->Wrap(
        font,
        "Micifú, el gato andalú: (Falso)\r\n- Escondite, salón: Nadie recuerda ya que empujando\r\n\r\nfin",
        width);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines.front(), "Micifú, el gato andalú: (Falso)");
    EXPECT_EQ(lines[lines.size() - 2], "") << "an empty line stays";
    EXPECT_EQ(lines.back(), "fin");
    for (const auto& l : lines) EXPECT_LE(window->TextWidth(font, l), width) << l;

    std::string word(300, 'W');
    std::string joined;
    for (const auto& l : window->Wrap(font, word, width)) {
        EXPECT_LE(window->TextWidth(font, l), width);
        joined += l;
    }
    EXPECT_EQ(joined, word) << "a word too long for a line is cut, not lost";
}

TEST_F(WindowTest, ALongNameIsCutToFitWithAnEllipsis) {
    TTF_Font* font = window->textFont();
    EXPECT_EQ(window->Fit(font, "Tom", 400), "Tom");
    std::string fitted = window->Fit(font, "Miss Jane Hairton, su peluquera de toda la vida", 300);
    EXPECT_LE(window->TextWidth(font, fitted), 300);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "…");
}

TEST_F(WindowTest, AnyNameOrLogIsDrawnWithoutHarm) {
    SetupView setup;
    setup.names = {std::string(100000, 'x'),
                   "\xff\xfe\xc3",
                   "tab\there\r\nnew line",
                   "",
                   "🐈🐈🐈",
                   std::string(5000, ' '),
                   "a\0b",
                   "Zoë",
                   "<b>x</b>",
                   std::string(3000, '\n')};
    setup.selected[2] = true;
    setup.cursor = 10;
    window->Show(setup);
    std::string log;
    for (int i = 0; i < 2000; ++i)
        log += "Línea " + std::to_string(i) + " con \xff bytes rotos y palabras\r\n";
    window->Show(LogView{log, ""});
    window->Show(LogView{"", ""});

    // The odd names a player may type: ten at a time on the setup screen with the cursor on
    // each, all of them in the log, and each in the name dialog, which gives it back whole.
    const auto& raros = prueba::NombresRaros();
    std::string oddLog;
    for (std::size_t i = 0; i < raros.size(); ++i) {
        setup.names[i % 10] = raros[i].nombre;
        setup.selected[i % 10] = i % 2 == 0;
        setup.cursor = static_cast<int>(i % 10) + 1;
        window->Show(setup);
        oddLog += raros[i].nombre + ": (Falso) \r\n- Defensa débil, Tapa de cazuela\r\n";
    }
    window->Show(LogView{oddLog, ""});
    for (const auto& raro : raros) {
        Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
        EXPECT_EQ(Ask(raro.nombre), ValidUtf8(raro.nombre)) << raro.que;
    }
}

TEST_F(WindowTest, ControlCharactersInANameOrTheLogLeaveNoMarkOnTheScreen) {
    auto name = [&](const std::string& text) {
        SetupView setup;
        setup.names[1] = text;
        window->Show(setup);
        return Shown();
    };
    const auto plain = name("AnaBeto"), spaced = name("Ana Beto");
    EXPECT_TRUE(name("Ana\x7f"
                     "Beto") == plain)
        << "DEL";
    EXPECT_TRUE(name("Ana\x01\x1b\x1f"
                     "Beto") == plain)
        << "C0 controls";
    EXPECT_TRUE(name("Ana\xc2\x85\xc2\x9f"
                     "Beto") == plain)
        << "C1 controls";
    EXPECT_TRUE(name("Ana\tBeto") == spaced) << "tab";
    EXPECT_TRUE(name("Ana\nBeto") == spaced) << "a name keeps to its line";
    EXPECT_TRUE(name("Ana\r\nBeto") == spaced) << "a name keeps to its line";

    window->Show(LogView{"AnaBeto\r\nfin", ""});
    const auto log = Shown();
    window->Show(
        LogView{"Ana\x7f\x01\xc2\x85"
                "Beto\r\nfin",
                ""});
    EXPECT_TRUE(Shown() == log) << "control characters in the log";
}

// A Hebrew name was drawn in the order it was typed, so it read backwards.
TEST_F(WindowTest, ARightToLeftNameIsDrawnInItsVisualOrder) {
    SetupView setup;
    setup.names[1] = "אבג דה";
    window->Show(setup);
    const auto drawn = Shown();
    // The same row drawn by hand, over a row with another name.
    setup.names[1] = "Ana";
    window->Show(setup);
    window->SetOverlay([&] {
        const int line = window->LineHeight(window->textFont());
        const int y = Disposicion::Margen + window->LineHeight(window->titleFont()) * 3 / 2 + line;
        SDL_Rect row{0, y, window->Width(), line};
        SDL_SetRenderDrawColor(window->renderer(), 0, 0, 0, 255);
        SDL_RenderFillRect(window->renderer(), &row);
        window->DrawLine(window->textFont(), "   2. הד גבא — No seleccionado", Disposicion::Margen, y,
                         GameWindow::Foreground);
    });
    EXPECT_TRUE(Shown() == drawn);
    window->SetOverlay(nullptr);
}

TEST_F(WindowTest, TheDialogSpeaksWhatIsTypedAndDeleted) {
    Key(SDLK_z, SDL_SCANCODE_Z, KMOD_LSHIFT);
    Type("Z");
    Type("o");
    Type(" ");
    Type("ë");
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Type("é");
    Key(SDLK_UP, SDL_SCANCODE_UP);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ask(""), "Zoé");
    EXPECT_EQ(speech.heard, (std::vector<std::string>{"mayúscula Z", "o", "espacio", "ë", "borrado ë",
                                                      "borrado espacio", "é", "Zoé"}));
}

TEST_F(WindowTest, TheInitialNameIsReplacedByTypingOrClearedAtOnce) {
    Type("A");
    Type("na");
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ask("Tom, el mayordomo"), "Ana");

    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    speech.heard.clear();
    EXPECT_EQ(Ask("Tom"), "");
    EXPECT_EQ(speech.heard, (std::vector<std::string>{"borrado Tom", "vacío"}));

    Key(SDLK_END, SDL_SCANCODE_END);
    Type("s");
    Key(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(Ask("Tom"), "Toms") << "after a move the name is kept and typing goes on at its end";

    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ask("Bautista, el chófer"), "Bautista, el chófer");
}

TEST_F(WindowTest, TheCursorMovesLikeAScreenReadersAndSpeaksTheCharacterReached) {
    Key(SDLK_LEFT, SDL_SCANCODE_LEFT);  // the selection gives way to the cursor at the start
    Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    Type("B");  // inserted before the space
    Key(SDLK_HOME, SDL_SCANCODE_HOME);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);  // nothing before the cursor
    Key(SDLK_DELETE, SDL_SCANCODE_DELETE);        // the capital Ñ after it
    Key(SDLK_END, SDL_SCANCODE_END);
    Key(SDLK_DELETE, SDL_SCANCODE_DELETE);  // nothing after it
    Key(SDLK_LEFT, SDL_SCANCODE_LEFT);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_DOWN, SDL_SCANCODE_DOWN);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ask("Ña Zoë"), "aB Zë");
    EXPECT_EQ(speech.heard, (std::vector<std::string>{"mayúscula Ñ", "a", "espacio", "mayúscula B",
                                                      "mayúscula Ñ", "inicio", "borrado mayúscula Ñ",
                                                      "en blanco", "en blanco", "ë", "borrado o", "aB Zë"}));

    speech.heard.clear();
    Key(SDLK_LEFT, SDL_SCANCODE_LEFT);
    Key(SDLK_END, SDL_SCANCODE_END);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    EXPECT_EQ(Ask(""), "");
    EXPECT_EQ(speech.heard, (std::vector<std::string>{"vacío", "vacío", "vacío"}));
}

TEST_F(WindowTest, EscapeOrClosingTheWindowCancels) {
    Type("x");
    Key(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(Ask("Tom"), "");
    EXPECT_FALSE(window->Closed());

    Type("x");
    Quit();
    EXPECT_EQ(Ask("Tom"), "");
    EXPECT_TRUE(window->Closed());
}

TEST_F(WindowTest, AHugeNameCanBeEditedAndKeptWhole) {
    std::string name(20000, 'n');
    name += "ñ";
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    std::string got = Ask(name);
    EXPECT_EQ(got, "") << "the first Backspace clears the selected name";
    Key(SDLK_HOME, SDL_SCANCODE_HOME);
    Key(SDLK_END, SDL_SCANCODE_END);
    Key(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Key(SDLK_RETURN, SDL_SCANCODE_RETURN);
    got = Ask(name);
    EXPECT_EQ(got, std::string(20000, 'n')) << "one whole character deleted";
}

}  // namespace
}  // namespace veldrisa
