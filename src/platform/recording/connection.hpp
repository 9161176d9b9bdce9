// A connection stand-in for the tests: it writes down what the client opens and sends, and hands
// it the events a test queues, as a server would.
#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "ports/connection.hpp"

namespace veldrisa {

class FakeConnection : public Connection {
public:
    struct Opening {
        std::string host;
        int port = 0;
        std::string pinned;
        std::chrono::milliseconds delay{};
    };

    void open(const std::string& host, int port, const std::string& pinned,
              std::chrono::milliseconds delay) override;
    void send(const std::string& text) override;
    void close() override;
    std::optional<ConnectionEvent> poll() override;

    // What a server would do; each event waits until the client polls.
    void opened(const std::string& fingerprint, bool trusted);
    void message(const std::string& text);
    void fail(ConnectionFault fault, const std::string& fingerprint = {});
    void closedByServer();

    // The messages sent since the last call, oldest first.
    std::vector<std::string> takeSent();

    std::vector<Opening> openings;
    std::vector<std::string> sent;
    int closes = 0;
    bool isOpen = false;

private:
    std::deque<ConnectionEvent> events_;
    std::size_t taken_ = 0;
};

}  // namespace veldrisa
