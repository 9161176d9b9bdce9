// The connection stand-in: a queue of events in, a list of messages out.
#include "platform/recording/connection.hpp"

namespace veldrisa {

void FakeConnection::open(const std::string& host, int port, const std::string& pinned,
                          std::chrono::milliseconds delay) {
    openings.push_back({host, port, pinned, delay});
    events_.clear();
    isOpen = false;
}

void FakeConnection::send(const std::string& text) {
    if (isOpen) sent.push_back(text);
}

void FakeConnection::close() {
    ++closes;
    isOpen = false;
    events_.clear();
}

std::optional<ConnectionEvent> FakeConnection::poll() {
    if (events_.empty()) return std::nullopt;
    ConnectionEvent e = std::move(events_.front());
    events_.pop_front();
    if (e.kind == ConnectionEvent::Kind::Opened) isOpen = true;
    if (e.kind == ConnectionEvent::Kind::Closed || e.kind == ConnectionEvent::Kind::Failed) isOpen = false;
    return e;
}

void FakeConnection::opened(const std::string& fingerprint, bool trusted) {
    ConnectionEvent e{ConnectionEvent::Kind::Opened};
    e.fingerprint = fingerprint;
    e.trusted = trusted;
    events_.push_back(std::move(e));
}

void FakeConnection::message(const std::string& text) {
    ConnectionEvent e{ConnectionEvent::Kind::Message};
    e.text = text;
    events_.push_back(std::move(e));
}

void FakeConnection::fail(ConnectionFault fault, const std::string& fingerprint) {
    ConnectionEvent e{ConnectionEvent::Kind::Failed};
    e.fault = fault;
    e.fingerprint = fingerprint;
    events_.push_back(std::move(e));
}

void FakeConnection::closedByServer() { events_.push_back(ConnectionEvent{ConnectionEvent::Kind::Closed}); }

std::vector<std::string> FakeConnection::takeSent() {
    std::vector<std::string> fresh(sent.begin() + static_cast<std::ptrdiff_t>(taken_), sent.end());
    taken_ = sent.size();
    return fresh;
}

}  // namespace veldrisa
