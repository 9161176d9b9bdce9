// The Linux connection: every call is posted to the network thread, every callback turned into
// an event of the current connection.
#include "platform/linux/ws_connection.hpp"

#include <algorithm>
#include <boost/asio.hpp>
#include <cctype>
#include <optional>
#include <thread>

#include "net/ws_client.hpp"
#include "platform/shared/connection_inbox.hpp"

namespace veldrisa {
namespace {

namespace asio = boost::asio;
using Kind = ConnectionEvent::Kind;

std::string Mayusculas(std::string hex) {
    std::transform(hex.begin(), hex.end(), hex.begin(), [](unsigned char c) { return std::toupper(c); });
    return hex;
}

ConnectionFault Fault(net::Failure f) {
    switch (f) {
        case net::Failure::NoServer: return ConnectionFault::NoServer;
        case net::Failure::NotListening: return ConnectionFault::Refused;
        case net::Failure::TimedOut: return ConnectionFault::TimedOut;
        case net::Failure::Tls: return ConnectionFault::Certificate;
        case net::Failure::Refused:
        case net::Failure::Version: return ConnectionFault::Protocol;
    }
    return ConnectionFault::Lost;
}

class WebSocketConnection final : public Connection {
public:
    explicit WebSocketConnection(std::function<void()> wake)
        : inbox_(std::move(wake)), work_(asio::make_work_guard(io_)), thread_([this] { io_.run(); }) {}

    ~WebSocketConnection() override {
        asio::post(io_, [this] { drop(); });
        work_.reset();
        io_.stop();
        thread_.join();
    }

    void open(const std::string& host, int port, const std::string& pinned,
              std::chrono::milliseconds delay) override {
        const std::uint64_t generation = inbox_.renew();
        asio::post(io_, [this, host, port, pinned, delay, generation] {
            drop();
            timer_.expires_after(delay);
            timer_.async_wait([this, host, port, pinned, generation](const boost::system::error_code& ec) {
                if (!ec) start(host, port, pinned, generation);
            });
        });
    }

    void send(const std::string& text) override {
        asio::post(io_, [this, text] {
            if (client_) client_->send(text);
        });
    }

    void close() override {
        inbox_.renew();
        asio::post(io_, [this] { drop(); });
    }

    std::optional<ConnectionEvent> poll() override { return inbox_.pop(); }

private:
    // Ends this client unless a newer one has taken its place meanwhile.
    void end(const std::shared_ptr<net::WebSocketClient>& client) {
        client->close();
        if (client_ == client) client_.reset();
    }

    void drop() {
        timer_.cancel();
        if (client_) client_->close();
        client_.reset();
    }

    // How a connection trusts the server: without a pinned certificate the system's roots are asked
    // first, and a certificate they do not vouch for is then taken as it is, for the player to
    // confirm. A pinned certificate refused is probed once more, taken as it is only to learn the
    // fingerprint the player is warned of.
    enum class Mode { System, Any, Pinned, Probe };
    struct Attempt {
        std::string host;
        int port = 0;
        std::string pinned;
        std::uint64_t generation = 0;
        Mode mode = Mode::System;
    };

    void start(const std::string& host, int port, const std::string& pinned, std::uint64_t generation) {
        start({host, port, pinned, generation, pinned.empty() ? Mode::System : Mode::Pinned});
    }

    void start(const Attempt& a) {
        net::ClientOptions options;
        options.trust = a.mode == Mode::System   ? net::Trust::System
                        : a.mode == Mode::Pinned ? net::Trust::Pinned
                                                 : net::Trust::Any;
        options.fingerprint = a.pinned;
        if (client_) client_->close();
        if (!tls_) tls_.emplace(net::MakeClientTls());
        client_ = net::WebSocketClient::Create(io_, *tls_, handlers(a));
        client_->connect(a.host, static_cast<std::uint16_t>(a.port), options);
    }

    net::ClientHandlers handlers(const Attempt& a) {
        net::ClientHandlers h;
        h.opened = [this, a](const std::string& fingerprint) {
            ConnectionEvent e{a.mode == Mode::Probe ? Kind::Failed : Kind::Opened};
            e.fingerprint = Mayusculas(fingerprint);
            e.trusted = a.mode == Mode::System;
            e.fault = ConnectionFault::Certificate;
            if (a.mode == Mode::Probe) asio::post(io_, [this, probed = client_] { end(probed); });
            inbox_.push(a.generation, std::move(e));
        };
        h.message = [this, a](std::string_view text) {
            ConnectionEvent e{Kind::Message};
            e.text = text;
            inbox_.push(a.generation, std::move(e));
        };
        h.closed = [this, a](const std::string& reason) {
            ConnectionEvent e{Kind::Failed};
            e.fault = ConnectionFault::Lost;
            e.detail = reason;
            inbox_.push(a.generation, std::move(e));
        };
        h.failed = [this, a](net::Failure f, const std::string& what) {
            if (f == net::Failure::Tls && (a.mode == Mode::System || a.mode == Mode::Pinned)) {
                Attempt next = a;
                next.mode = a.mode == Mode::System ? Mode::Any : Mode::Probe;
                asio::post(io_, [this, next] { start(next); });
                return;
            }
            ConnectionEvent e{Kind::Failed};
            e.fault = Fault(f);
            e.detail = what;
            inbox_.push(a.generation, std::move(e));
        };
        return h;
    }

    ConnectionInbox inbox_;
    asio::io_context io_;
    // Made on the network thread for the first table reached: OpenSSL's start and the system's
    // roots take some 25 ms, which every game's introduction would otherwise wait for.
    std::optional<asio::ssl::context> tls_;
    asio::executor_work_guard<asio::io_context::executor_type> work_;
    asio::steady_timer timer_{io_};
    std::shared_ptr<net::WebSocketClient> client_;
    std::thread thread_;
};

}  // namespace

std::unique_ptr<Connection> MakeWebSocketConnection(std::function<void()> wake) {
    return std::make_unique<WebSocketConnection>(std::move(wake));
}

}  // namespace veldrisa
