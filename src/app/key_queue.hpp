// The keys the player pressed and the game has not taken yet, bounded while the game waits.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <vector>

namespace veldrisa {

// While the game waits for its speech to end, the keys that arrive are kept for afterwards, as
// the desktop the game was designed on keeps them: the auto-repeats of a held key count as one
// press, and no more than WaitLimit keys wait in the queue; keys beyond it are dropped, and the
// player hears of it once, when the wait is over. Outside waits every key is kept, so that a
// burst of presses reaches the game whole. Typed text travels with the key that typed it (a
// dialog opened by an earlier key reads it), and is dropped with it.
//
// Event is the record of one key or text; the run loop feeds the window's keys in here.
template <typename Event>
class KeyQueue {
public:
    static constexpr std::size_t WaitLimit = 32;

    // Keys from now on arrive during a wait, until EndWait.
    void StartWait() { waiting_ = true; }
    // The wait is over; true, once, when keys were dropped during it.
    bool EndWait() {
        const bool dropped = dropped_;
        waiting_ = dropped_ = false;
        heldKeys_.clear();
        return dropped;
    }

    // A key going down; key tells keys apart, repeat marks a held key's auto-repeat.
    void PushKey(const Event& event, int key, bool repeat) {
        lastKeyKept_ = !waiting_ || Admit(key, repeat);
        if (!lastKeyKept_) return;
        entries_.push_back({event, true});
        ++keys_;
    }
    // Text typed by the key pushed last.
    void PushText(const Event& event) {
        if (lastKeyKept_) entries_.push_back({event, false});
    }
    // The oldest key or text, if any.
    bool Pop(Event& event) {
        if (entries_.empty()) return false;
        event = entries_.front().event;
        keys_ -= entries_.front().key ? 1 : 0;
        entries_.pop_front();
        return true;
    }
    std::size_t Keys() const { return keys_; }
    void Clear() {
        entries_.clear();
        keys_ = 0;
    }

private:
    struct Entry {
        Event event;
        bool key;
    };

    bool Admit(int key, bool repeat) {
        const bool held = std::find(heldKeys_.begin(), heldKeys_.end(), key) != heldKeys_.end();
        if (repeat && held) return false;
        if (keys_ >= WaitLimit) {
            dropped_ = true;
            return false;
        }
        if (!held) heldKeys_.push_back(key);
        return true;
    }

    std::deque<Entry> entries_;
    std::size_t keys_ = 0;
    bool waiting_ = false;
    bool dropped_ = false;
    bool lastKeyKept_ = true;
    std::vector<int> heldKeys_;  // keys already queued during this wait: their repeats fold into them
};

}  // namespace veldrisa
