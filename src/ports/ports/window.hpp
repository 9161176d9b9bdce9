// The game's window as the run loop sees it: what arrives from the player, and what to show.
#pragma once

#include <optional>
#include <string>

#include "ports/keys.hpp"
#include "ports/view.hpp"

namespace veldrisa {

// One thing the window received, in the order it came.
struct WindowEvent {
    enum class Kind {
        Key,    // a key went down: key, repeat, physical
        Text,   // text typed by the key before it: text (UTF-8 as the platform gave it)
        Close,  // the player or the system asked the window to close
        Wake,   // another source of events has something for the program (see Window::wake)
    };
    Kind kind = Kind::Key;
    KeyEvent key;
    bool repeat = false;  // the auto-repeat of a held key
    int physical = 0;     // tells the keyboard's keys apart, so that a held key's repeats are known
    std::string text;
};

class Window {
public:
    virtual ~Window() = default;
    // What has arrived, without waiting; none when nothing has.
    virtual std::optional<WindowEvent> poll() = 0;
    // Waits until something arrives.
    virtual WindowEvent wait() = 0;
    // From any thread: makes wait() (or the next poll()) return a Wake event.
    virtual void wake() = 0;
    // Shows the view from now on; the window stays hidden until it first has one.
    virtual void show(const View& view) = 0;
};

}  // namespace veldrisa
