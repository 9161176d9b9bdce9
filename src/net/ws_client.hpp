// A WebSocket client over TLS on an Asio io_context: many of them share one thread, each reporting
// what it receives, its close and its failures through callbacks run on that thread.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace veldrisa::net {

// Why a connection could not be made, or was given up.
enum class Failure {
    NoServer,      // no machine answers to that name or address
    NotListening,  // the machine answered, but nothing listens on that port
    Refused,   // a server answered but refused the WebSocket
    TimedOut,  // the server took too long to answer
    Tls,       // the secure channel failed, or the certificate is not the one expected
    Version,   // the server speaks another version of the game's protocol
};

// Plain Spanish words for a failure, for a player to hear.
const char* FailureText(Failure f);

// How the server's certificate is trusted.
enum class Trust {
    System,  // signed by an authority the system trusts, for the host's name
    Pinned,  // whatever signed it, its SHA-256 fingerprint is the one given
    Any,     // any certificate at all: only for a server on this machine (loopback)
};

struct ClientOptions {
    Trust trust = Trust::System;
    std::string fingerprint;  // Trust::Pinned: 64 hexadecimal digits, colons and case ignored
    std::chrono::milliseconds timeout{10000};  // connecting, the TLS and WebSocket handshakes
    std::string target = "/";
};

struct ClientHandlers {
    // The connection is open: the certificate's SHA-256 fingerprint, as 64 lower-case hex digits.
    std::function<void(const std::string& fingerprint)> opened;
    std::function<void(std::string_view text)> message;
    // An open connection ended: a close from the server (its reason), or the connection lost.
    std::function<void(const std::string& reason)> closed;
    // The connection never opened, or the server refused the protocol's version; what says more.
    std::function<void(Failure kind, const std::string& what)> failed;
};

class WebSocketClient {
public:
    // The TLS context is shared by every client of a program; see MakeClientTls.
    static std::shared_ptr<WebSocketClient> Create(boost::asio::io_context& io,
                                                   boost::asio::ssl::context& tls, ClientHandlers handlers);
    virtual ~WebSocketClient() = default;

    // Starts connecting; exactly one of opened or failed follows.
    virtual void connect(const std::string& host, std::uint16_t port, const ClientOptions& options) = 0;
    // One text message, queued while an earlier one is being written; dropped once closed.
    virtual void send(std::string text) = 0;
    // Closes the connection once what was sent before is written; no callback follows.
    virtual void close() = 0;
    // Drops the connection once what was sent before is written, without a close frame, as a lost
    // network would; closed follows.
    virtual void cut() = 0;
};

// A TLS client context with the system's authorities loaded, TLS 1.2 at least.
boost::asio::ssl::context MakeClientTls();

}  // namespace veldrisa::net
