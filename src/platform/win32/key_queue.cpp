// Queueing keys, with auto-repeats folded and a bound while speech is awaited.
#include "platform/win32/key_queue.hpp"

namespace veldrisa {

void KeyQueue::Add(Win32Key key, bool repeat, bool duringWait) {
    if (duringWait) {
        if (repeat && !keys_.empty() && keys_.back() == key) return;
        if (keys_.size() >= WaitBound) {
            dropped_ = true;
            return;
        }
    }
    keys_.push_back(key);
}

std::optional<Win32Key> KeyQueue::Take() {
    if (keys_.empty()) return std::nullopt;
    Win32Key key = keys_.front();
    keys_.pop_front();
    return key;
}

bool KeyQueue::TakeDropped() {
    const bool dropped = dropped_;
    dropped_ = false;
    return dropped;
}

}  // namespace veldrisa
