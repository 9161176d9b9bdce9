// The online client's link to a server: one connection at a time, whose events come from the
// network's own thread and are read on the main thread after the window's wake-up.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace veldrisa {

// Why a connection could not be made, or was lost once made.
enum class ConnectionFault {
    NoServer,     // the name leads to no machine
    Refused,      // the machine answered, but nothing listens on that port
    TimedOut,     // no answer in time
    Certificate,  // the secure channel failed: an untrusted or changed certificate, or TLS itself
    Protocol,     // something answered that is not a WebSocket server of this version
    Lost,         // an open connection broke
};

struct ConnectionEvent {
    enum class Kind {
        Opened,   // fingerprint, trusted
        Message,  // text: one message
        Closed,   // the server closed the connection in good order
        Failed,   // fault, detail; fingerprint for a refused certificate
    };
    ConnectionEvent() = default;
    explicit ConnectionEvent(Kind k) : kind(k) {}
    Kind kind = Kind::Message;
    std::string text;
    // The server certificate's SHA-256, 64 upper-case hexadecimal digits.
    std::string fingerprint;
    // The system's roots vouch for the certificate and for the server's name.
    bool trusted = false;
    ConnectionFault fault = ConnectionFault::Lost;
    // The system's own words about a failure, for whoever reads the logs.
    std::string detail;
};

class Connection {
public:
    virtual ~Connection() = default;
    // Connects after delay, dropping any earlier connection and its events. A certificate the
    // system does not trust is accepted when its fingerprint is pinned, and when nothing is
    // pinned (Opened says so: the caller sends nothing until the player has confirmed it); one
    // that differs from the pinned fingerprint fails with Certificate.
    virtual void open(const std::string& host, int port, const std::string& pinned,
                      std::chrono::milliseconds delay) = 0;
    // One text message; dropped when no connection is open.
    virtual void send(const std::string& text) = 0;
    // Closes the connection; no event of it arrives afterwards.
    virtual void close() = 0;
    // The next event, without waiting; none when nothing has arrived.
    virtual std::optional<ConnectionEvent> poll() = 0;
};

}  // namespace veldrisa
