// The one window of the game on Win32: what it shows, and the keys and close requests it receives.
#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "app/vista.hpp"
#include "ports/keys.hpp"
#include "ports/window.hpp"

namespace veldrisa {

// Large white and yellow type on black, as on Linux; one thread runs it and the game.
class Win32GameWindow : public Window {
public:
    // None, with the reason in error, when the window cannot be made.
    static std::unique_ptr<Win32GameWindow> Open(std::string& error);
    ~Win32GameWindow() override;
    Win32GameWindow(const Win32GameWindow&) = delete;
    Win32GameWindow& operator=(const Win32GameWindow&) = delete;

    std::optional<WindowEvent> poll() override;
    WindowEvent wait() override;
    void wake() override;
    void show(const View& view) override;
    HWND handle() const { return window_; }

    // Characters drawn at most; longer texts are kept whole but shown cut.
    static constexpr std::size_t MaxNameCharacters = 60;
    static constexpr std::size_t MaxLogCharacters = 6000;

private:
    Win32GameWindow() = default;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    void Paint(HDC dc, const RECT& area);
    void PaintSetup(HDC dc, const RECT& area, const SetupView& view);
    void PaintLog(HDC dc, const RECT& area, const LogView& view);
    void PaintField(HDC dc, const RECT& area, const FieldView& field);
    RECT PaintHelpAtFoot(HDC dc, const RECT& area, const std::string& help);
    void Redraw();
    void Received(WindowEvent e) { events_.push_back(std::move(e)); }
    // Typed UTF-16, a surrogate pair at a time, into UTF-8 text for the game.
    void Typed(wchar_t unit);

    HWND window_ = nullptr;
    HFONT text_ = nullptr;
    HFONT title_ = nullptr;
    View view_;
    std::deque<WindowEvent> events_;  // what the window procedure received, oldest first
    wchar_t highSurrogate_ = 0;
};

// The game's code and mask for a key message; none for keys the game has no use for.
std::optional<KeyEvent> GameKey(WPARAM virtualKey, bool shift, bool control, bool alt);

}  // namespace veldrisa
