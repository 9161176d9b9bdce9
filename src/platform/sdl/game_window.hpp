// The one window of the game on SDL: what it shows, and the keys, text and close requests it receives.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/vista.hpp"
#include "platform/sdl/key_map.hpp"
#include "ports/window.hpp"

namespace veldrisa {

class GameWindow : public Window {
public:
    // Needs SDL's video already initialised. None, with the reason in error, if the window
    // cannot be made. Without its font the window stays blank but the game is still heard.
    static std::unique_ptr<GameWindow> Open(std::string& error);
    ~GameWindow() override;
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    std::optional<WindowEvent> poll() override;
    WindowEvent wait() override;
    void wake() override;
    void show(const View& view) override;

    // Drawing helpers.
    struct Color {
        Uint8 r, g, b;
    };
    static constexpr Color Background{0, 0, 0};
    static constexpr Color Foreground{255, 255, 255};
    static constexpr Color Highlight{255, 221, 0};
    SDL_Renderer* renderer() const { return renderer_; }
    TTF_Font* textFont() const { return text_; }
    TTF_Font* titleFont() const { return title_; }
    int Width() const;
    int Height() const;
    // Width in pixels of the text in the font; 0 without a font.
    int TextWidth(TTF_Font* font, const std::string& text) const;
    int LineHeight(TTF_Font* font) const;
    // Draws one line; returns its width.
    int DrawLine(TTF_Font* font, const std::string& text, int x, int y, Color color);
    // Lines of at most width pixels: \r\n and \n break lines, words wrap, a word too long
    // for a line is cut.
    std::vector<std::string> Wrap(TTF_Font* font, const std::string& text, int width) const;
    // The text cut to fit width pixels, ending in an ellipsis when it had to be cut.
    std::string Fit(TTF_Font* font, const std::string& text, int width) const;

    // Characters drawn at most; longer texts are kept whole but shown cut.
    static constexpr std::size_t MaxNameCharacters = 60;
    static constexpr std::size_t MaxLogCharacters = 6000;

private:
    GameWindow() = default;
    // What the game makes of an SDL event; none for what concerns the window alone.
    std::optional<WindowEvent> Translate(const SDL_Event& event);
    void Draw();
    void DrawSetup(const SetupView& view);
    void DrawLog(const LogView& view);
    void DrawField(const FieldView& field);
    // The bytes [first, second) of the field's text drawn in room pixels, the cursor among them.
    std::pair<std::size_t, std::size_t> VisiblePart(const FieldView& field, int room) const;

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    TTF_Font* text_ = nullptr;
    TTF_Font* title_ = nullptr;
    View view_;
    bool shown_ = false;
    // Text typed while left Alt is held is a shortcut, not typing (as on Windows).
    bool altHeld_ = false;
    Uint32 wakeEvent_ = 0;
};

}  // namespace veldrisa
