// The keys a window has received and the game has not yet taken, with the rules for speech waits.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

namespace veldrisa {

// A key as the game takes it: a Windows virtual-key code and the mask 1 Shift, 2 Control, 4 Alt.
struct Win32Key {
    int code = 0;
    int mask = 0;
    bool operator==(const Win32Key&) const = default;
};

// While the game waits for speech to end, a held key must not pile up half a minute of stale
// presses: its auto-repeats count as one press, and the queue keeps a few dozen keys at most,
// the rest dropped and owed one beep. Outside waits every key is kept.
class KeyQueue {
public:
    static constexpr std::size_t WaitBound = 32;

    // repeat: the key was already down (an auto-repeat).
    void Add(Win32Key key, bool repeat, bool duringWait);
    std::optional<Win32Key> Take();
    bool Empty() const { return keys_.empty(); }
    // True once after keys were dropped, so that the player hears one beep for all of them.
    bool TakeDropped();

private:
    std::deque<Win32Key> keys_;
    bool dropped_ = false;
};

}  // namespace veldrisa
