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
    // The right Alt of AltGr, or the left Control Windows sends just before it.
    bool AltGrKey(WPARAM virtualKey, LPARAM l) const;
    void Paint(HDC dc, const RECT& area);
    void PaintSetup(HDC dc, const RECT& area, const SetupView& view);
    void PaintLog(HDC dc, const RECT& area, const LogView& view);
    void PaintField(HDC dc, const RECT& area, const FieldView& field);
    RECT PaintHelpAtFoot(HDC dc, const RECT& area, const std::string& help);
    void Redraw();
    void Received(WindowEvent e) { events_.push_back(std::move(e)); }
    // Typed UTF-16, a surrogate pair at a time, into UTF-8 text for the game.
    void Typed(wchar_t unit);
    // The fonts and sizes for a screen of this many dots per inch.
    void UseDpi(int dpi);
    int Scaled(int pixels) const;
    void KeepInWorkArea(SIZE wanted);

    HWND window_ = nullptr;
    HFONT text_ = nullptr;
    HFONT title_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    View view_;
    std::deque<WindowEvent> events_;  // what the window procedure received, oldest first
    wchar_t highSurrogate_ = 0;
};

// The window's dots per inch: 96 at 100 % scaling, 144 at 150 %.
int WindowDpi(HWND window);

// Where a window of the wanted size goes: centred in the work area (the screen without the
// taskbar), made smaller where it would not fit.
RECT PlaceInWorkArea(SIZE wanted, const RECT& work);

// The game's code and mask for a key message; none for keys the game has no use for.
std::optional<KeyEvent> GameKey(WPARAM virtualKey, bool shift, bool control, bool alt);

// Control and Alt as the game should see them held. Windows reports AltGr, which Spanish
// keyboards need for @, # or €, as the right Alt with the left Control: that is neither, or every
// such character would silence the voice.
struct ControlAndAlt {
    bool control = false;
    bool alt = false;
};
ControlAndAlt HeldControlAndAlt(bool leftControl, bool rightControl, bool leftAlt, bool rightAlt);

// Whether a left Control going down (message `control`) is the one Windows sends ahead of AltGr:
// the next message is the right Alt going down, stamped with the same time.
bool StartsAltGr(const MSG& control, const MSG& next);

}  // namespace veldrisa
