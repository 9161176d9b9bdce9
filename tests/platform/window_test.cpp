// The window's events, its text layout and the name field's drawing, on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "platform/sdl/game_window.hpp"
#include "platform/shared/valid_utf8.hpp"
#include "setup/nombres_raros.hpp"

namespace veldrisa {
namespace {

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

    // Everything the window holds, in order, as the run loop takes it.
    std::vector<WindowEvent> Received() {
        std::vector<WindowEvent> out;
        while (auto e = window->poll()) out.push_back(*e);
        return out;
    }

    void Show(SetupView setup) { window->show(View{std::move(setup), std::nullopt}); }
    void Show(LogView log) { window->show(View{std::move(log), std::nullopt}); }

    // What the window shows, pixel by pixel.
    std::vector<Uint32> Shown() const {
        std::vector<Uint32> pixels(static_cast<std::size_t>(window->Width() * window->Height()));
        SDL_RenderReadPixels(window->renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             window->Width() * 4);
        return pixels;
    }

    std::unique_ptr<GameWindow> window;
};

TEST_F(WindowTest, KeysTextAndTheCloseRequestArriveInOrderWithTheirMasks) {
    Key(SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    Key(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    Type("A");
    Key(SDLK_1, SDL_SCANCODE_1, KMOD_LCTRL);
    Key(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY);
    Key(SDLK_e, SDL_SCANCODE_E, KMOD_LALT);
    Type("e");
    Key(SDLK_2, SDL_SCANCODE_2, KMOD_MODE);
    Type("@");
    Quit();
    const auto got = Received();
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0].key, (KeyEvent{Tecla::Derecha, 0}));
    EXPECT_EQ(got[1].key, (KeyEvent{Tecla::A, ModShift}));
    EXPECT_EQ(got[2].kind, WindowEvent::Kind::Text);
    EXPECT_EQ(got[2].text, "A");
    EXPECT_EQ(got[3].key, (KeyEvent{Tecla::Digito(1), ModControl}));
    EXPECT_EQ(got[4].key, (KeyEvent{'E', ModAlt})) << "a key the game has no code for is left out";
    EXPECT_EQ(got[5].key.code, Tecla::Digito(2)) << "Alt+E typed nothing: it is a shortcut";
    EXPECT_EQ(got[6].text, "@") << "AltGr types";
    EXPECT_EQ(got[7].kind, WindowEvent::Kind::Close);
    EXPECT_EQ(got[0].physical, SDL_SCANCODE_RIGHT) << "the run loop folds a held key's repeats by it";
}

TEST_F(WindowTest, AnotherSourceWakesTheWaitingWindow) {
    std::thread other([this] { window->wake(); });
    EXPECT_EQ(window->wait().kind, WindowEvent::Kind::Wake);
    other.join();
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
    Show(setup);
    std::string log;
    for (int i = 0; i < 2000; ++i)
        log += "Línea " + std::to_string(i) + " con \xff bytes rotos y palabras\r\n";
    Show(LogView{log, ""});
    Show(LogView{"", ""});

    // The odd names a player may type: ten at a time on the setup screen with the cursor on
    // each, all of them in the log, and each in the name dialog, which gives it back whole.
    const auto& raros = prueba::NombresRaros();
    std::string oddLog;
    for (std::size_t i = 0; i < raros.size(); ++i) {
        setup.names[i % 10] = raros[i].nombre;
        setup.selected[i % 10] = i % 2 == 0;
        setup.cursor = static_cast<int>(i % 10) + 1;
        Show(setup);
        oddLog += raros[i].nombre + ": (Falso) \r\n- Defensa débil, Tapa de cazuela\r\n";
    }
    Show(LogView{oddLog, ""});
    for (const auto& raro : raros) {
        View view{setup, FieldView{"Cambiar el nombre", raro.nombre, ValidUtf8(raro.nombre), 0, true}};
        window->show(view);
        view.field->cursor = view.field->text.size();
        view.field->selected = false;
        window->show(view);
    }
}

TEST_F(WindowTest, ControlCharactersInANameOrTheLogLeaveNoMarkOnTheScreen) {
    auto name = [&](const std::string& text) {
        SetupView setup;
        setup.names[1] = text;
        Show(setup);
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

    Show(LogView{"AnaBeto\r\nfin", ""});
    const auto log = Shown();
    Show(
        LogView{"Ana\x7f\x01\xc2\x85"
                "Beto\r\nfin",
                ""});
    EXPECT_TRUE(Shown() == log) << "control characters in the log";
}

// A Hebrew name was drawn in the order it was typed, so it read backwards.
TEST_F(WindowTest, ARightToLeftNameIsDrawnInItsVisualOrder) {
    SetupView setup;
    setup.names[1] = "אבג דה";
    Show(setup);
    const auto drawn = Shown();
    // The same row drawn by hand, over a row with another name.
    setup.names[1] = "Ana";
    Show(setup);
    // The software renderer keeps what it drew: the row is drawn again over it, by hand.
    const int line = window->LineHeight(window->textFont());
    const int y = Disposicion::Margen + window->LineHeight(window->titleFont()) * 3 / 2 + line;
    SDL_Rect row{0, y, window->Width(), line};
    SDL_SetRenderDrawColor(window->renderer(), 0, 0, 0, 255);
    SDL_RenderFillRect(window->renderer(), &row);
    window->DrawLine(window->textFont(), "   2. הד גבא — No seleccionado", Disposicion::Margen, y,
                     GameWindow::Foreground);
    EXPECT_TRUE(Shown() == drawn);
}

TEST_F(WindowTest, TheFieldShowsTheTextAroundTheCursor) {
    auto shown = [&](const FieldView& field) {
        window->show(View{SetupView{}, field});
        std::vector<Uint32> pixels(static_cast<std::size_t>(window->Width() * window->Height()));
        SDL_RenderReadPixels(window->renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             window->Width() * 4);
        return pixels;
    };
    const std::string name = std::string(300, 'a') + "Zoë";
    const auto atEnd = shown({"T", "P", name, name.size(), false});
    const auto atStart = shown({"T", "P", name, 0, false});
    EXPECT_FALSE(atEnd == atStart) << "a long text scrolls with its cursor";
    EXPECT_FALSE(shown({"T", "P", "Zoë", 0, true}) == shown({"T", "P", "Zoë", 0, false})) << "the selection shows";
}

}  // namespace
}  // namespace veldrisa
