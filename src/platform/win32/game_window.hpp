// The one window of the game on Win32: what it shows, and the keys and close requests it receives.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "app/vista.hpp"
#include "platform/shared/key_queue.hpp"
#include "ports/keys.hpp"

namespace veldrisa {

// Large white and yellow type on black, as on Linux; one thread runs it and the game.
class Win32GameWindow {
public:
    // None, with the reason in error, when the window cannot be made.
    static std::unique_ptr<Win32GameWindow> Open(std::string& error);
    ~Win32GameWindow();
    Win32GameWindow(const Win32GameWindow&) = delete;
    Win32GameWindow& operator=(const Win32GameWindow&) = delete;

    // Keys pressed while the game was busy come first, in order; otherwise waits for the next
    // key. None once the window has been closed. onDropped runs once when keys were dropped.
    std::optional<KeyEvent> NextKey(const std::function<void()>& onDropped);
    // Takes in whatever has happened without waiting, during a speech wait (the keys that arrive
    // then are bounded, and a held key's repeats fold into one press); false once closed.
    bool Pump();
    bool Closed() const { return closed_; }
    HWND handle() const { return window_; }

    // The window stays hidden until it first has something to show.
    void Show(SetupView view);
    void Show(LogView view);

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
    RECT PaintHelpAtFoot(HDC dc, const RECT& area, const std::string& help);
    void Redraw();
    // The fonts and sizes for a screen of this many dots per inch.
    void UseDpi(int dpi);
    int Scaled(int pixels) const;
    void KeepInWorkArea(SIZE wanted);

    HWND window_ = nullptr;
    HFONT text_ = nullptr;
    HFONT title_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::variant<std::monostate, SetupView, LogView> view_;
    KeyQueue<KeyEvent> keys_;
    bool closed_ = false;
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
