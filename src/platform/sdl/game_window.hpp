// The one window of the game: what it shows, and the keys and close requests it receives.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/vista.hpp"
#include "platform/sdl/key_map.hpp"
#include "platform/shared/key_queue.hpp"

namespace veldrisa {

class GameWindow {
public:
    // Needs SDL's video already initialised. None, with the reason in error, if the window
    // cannot be made. Without its font the window stays blank but the game is still heard.
    static std::unique_ptr<GameWindow> Open(std::string& error);
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // Keys pressed while the game was busy come first, in order; otherwise waits for the
    // next key. None once the window has been closed. Every key the window system holds is
    // taken in first, so that none is lost however fast they come.
    std::optional<KeyEvent> NextKey();
    // For the game's waits: takes in whatever has happened without waiting; keys and typed
    // text are queued within the bounds of a wait (KeyQueue). False once closed.
    bool Pump();
    // The oldest key or typed text still queued, for a dialog opened while they waited:
    // what was typed after the key that opened it belongs to it.
    bool TakeQueued(SDL_Event& event);
    // Whether keys are queued for the game already.
    bool KeysQueued() const { return queued_.Keys() > 0; }
    // Called once after a wait during which keys had to be dropped (the game beeps).
    void OnKeysDropped(std::function<void()> tell) { keysDropped_ = std::move(tell); }
    // Window-level events: closing, exposure, resizing. Keys and text are left to the caller.
    void HandleWindowEvent(const SDL_Event& event);
    bool Closed() const { return closed_; }

    // The window stays hidden until it first has something to show.
    void Show(SetupView view);
    void Show(LogView view);
    // Draws the current view, then the overlay if there is one, and presents it.
    void Draw();
    // Something drawn over the view, such as a modal dialog; none removes it.
    void SetOverlay(std::function<void()> overlay);

    // Drawing helpers for the overlay.
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
    void Handle(const SDL_Event& event);
    // Whatever the window system holds, into the queue.
    void Drain();
    // The game takes a key or text: any wait is over.
    void EndWait();
    void DrawSetup(const SetupView& view);
    void DrawLog(const LogView& view);

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    TTF_Font* text_ = nullptr;
    TTF_Font* title_ = nullptr;
    std::variant<std::monostate, SetupView, LogView> view_;
    std::function<void()> overlay_;
    KeyQueue<SDL_Event> queued_;  // key presses and typed text, oldest first
    std::function<void()> keysDropped_;
    bool closed_ = false;
};

}  // namespace veldrisa
