// The events of a connection, handed from the network's thread to the main thread: each pushed
// event wakes the window, and the events of a connection already dropped are never read.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

#include "ports/connection.hpp"

namespace veldrisa {

class ConnectionInbox {
public:
    explicit ConnectionInbox(std::function<void()> wake) : wake_(std::move(wake)) {}

    // A new connection: what is left of the earlier ones is dropped. Its number tags its events.
    std::uint64_t renew() {
        std::lock_guard lock(mutex_);
        events_.clear();
        return ++generation_;
    }
    // From the network's thread; ignored when the connection it came from has been replaced.
    void push(std::uint64_t generation, ConnectionEvent event) {
        {
            std::lock_guard lock(mutex_);
            if (generation != generation_) return;
            events_.push_back(std::move(event));
        }
        wake_();
    }
    std::optional<ConnectionEvent> pop() {
        std::lock_guard lock(mutex_);
        if (events_.empty()) return std::nullopt;
        ConnectionEvent e = std::move(events_.front());
        events_.pop_front();
        return e;
    }

private:
    std::function<void()> wake_;
    std::mutex mutex_;
    std::deque<ConnectionEvent> events_;
    std::uint64_t generation_ = 0;
};

}  // namespace veldrisa
