// Boost.Beast WebSocket sessions over Asio's TLS, on one thread: the hall needs no lock.
#include "server/network.hpp"

#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <chrono>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <random>

#include "server/hall.hpp"

namespace veldrisa {
namespace {

namespace beast = boost::beast;
namespace net = boost::asio;
namespace ssl = net::ssl;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;
using namespace std::chrono_literals;

// A frame above this closes the connection; a message above protocol::MaxMessageBytes is refused.
constexpr std::size_t MaxFrameBytes = 64 * 1024;
// Messages a connection may send: a burst of this many, refilled at this rate per second.
constexpr double RateBurst = 40, RatePerSecond = 20;

std::string Token() {
    static std::random_device device;
    static const char* const hex = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) token += hex[device() % 16];
    return token;
}

// Each new game's seed: counting up from the one given, else at random.
std::function<std::uint32_t()> Seeds(std::optional<std::uint32_t> first) {
    if (!first) return [] { return static_cast<std::uint32_t>(std::random_device{}()); };
    return [next = *first]() mutable { return next++; };
}

class Connection;

class Server {
public:
    Server(net::io_context& io, ssl::context& tls, const tcp::endpoint& at, JournalStore& store,
           std::optional<std::uint32_t> seed);
    void received(ConnectionId from, const std::string& text);
    void dropped(ConnectionId gone);
    void shutdown();
    // The port it listens on: the one asked for, or the system's pick for port 0.
    std::uint16_t port() const { return acceptor_.local_endpoint().port(); }

private:
    void accept();
    void tick();
    void send(const std::vector<Outgoing>& out);

    net::io_context& io_;
    ssl::context& tls_;
    tcp::acceptor acceptor_;
    net::steady_timer clock_;
    Hall hall_;
    std::map<ConnectionId, std::shared_ptr<Connection>> connections_;
    ConnectionId next_ = 1;
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(tcp::socket socket, ssl::context& tls, Server& server, ConnectionId id)
        : ws_(std::move(socket), tls), server_(server), id_(id) {}

    void start() {
        beast::get_lowest_layer(ws_).expires_after(30s);
        ws_.next_layer().async_handshake(
            ssl::stream_base::server,
            [self = shared_from_this()](beast::error_code ec) { self->secured(ec); });
    }
    void send(std::string message) {
        queue_.push_back(std::move(message));
        if (queue_.size() == 1 && open_) write();
    }
    void close(std::string goodbye) {
        closing_ = true;
        send(std::move(goodbye));
    }

private:
    void secured(beast::error_code ec) {
        if (ec) return server_.dropped(id_);
        beast::get_lowest_layer(ws_).expires_never();
        ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        ws_.read_message_max(MaxFrameBytes);
        ws_.async_accept([self = shared_from_this()](beast::error_code e) { self->accepted(e); });
    }
    void accepted(beast::error_code ec) {
        if (ec) return server_.dropped(id_);
        open_ = true;
        if (!queue_.empty()) write();
        read();
    }
    void read() {
        ws_.async_read(buffer_,
                       [self = shared_from_this()](beast::error_code ec, std::size_t) { self->got(ec); });
    }
    void got(beast::error_code ec) {
        if (ec) return server_.dropped(id_);
        std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (allowed())
            server_.received(id_, text);
        else
            send(protocol::ErrorMessage(protocol::Reason::Rate));
        read();
    }
    // A token bucket: a burst is fine, a flood is refused message by message.
    bool allowed() {
        const auto now = std::chrono::steady_clock::now();
        tokens_ =
            std::min(RateBurst, tokens_ + RatePerSecond * std::chrono::duration<double>(now - last_).count());
        last_ = now;
        if (tokens_ < 1) return false;
        tokens_ -= 1;
        return true;
    }
    void write() {
        ws_.text(true);
        ws_.async_write(
            net::buffer(queue_.front()),
            [self = shared_from_this()](beast::error_code ec, std::size_t) { self->written(ec); });
    }
    void written(beast::error_code ec) {
        queue_.pop_front();
        if (ec) return;
        if (!queue_.empty()) return write();
        if (closing_)
            ws_.async_close(websocket::close_code::going_away,
                            [self = shared_from_this()](beast::error_code) {});
    }

    websocket::stream<ssl::stream<beast::tcp_stream>> ws_;
    beast::flat_buffer buffer_;
    std::deque<std::string> queue_;
    Server& server_;
    ConnectionId id_;
    bool open_ = false, closing_ = false;
    double tokens_ = RateBurst;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

Server::Server(net::io_context& io, ssl::context& tls, const tcp::endpoint& at, JournalStore& store,
               std::optional<std::uint32_t> seed)
    : io_(io),
      tls_(tls),
      acceptor_(io, at),
      clock_(io),
      hall_(Seeds(seed), Token, &store, std::chrono::steady_clock::now()) {
    accept();
    tick();
}

void Server::accept() {
    acceptor_.async_accept([this](beast::error_code ec, tcp::socket socket) {
        if (ec) return;
        auto connection = std::make_shared<Connection>(std::move(socket), tls_, *this, next_);
        connections_[next_++] = connection;
        connection->start();
        accept();
    });
}

void Server::tick() {
    clock_.expires_after(1s);
    clock_.async_wait([this](beast::error_code ec) {
        if (ec) return;
        send(hall_.tick(std::chrono::steady_clock::now()));
        tick();
    });
}

void Server::send(const std::vector<Outgoing>& out) {
    for (const Outgoing& o : out)
        if (auto c = connections_.find(o.to); c != connections_.end()) c->second->send(o.message);
}

void Server::received(ConnectionId from, const std::string& text) {
    send(hall_.receive(from, text, std::chrono::steady_clock::now()));
}

void Server::dropped(ConnectionId gone) {
    if (connections_.erase(gone) == 0) return;
    send(hall_.drop(gone, std::chrono::steady_clock::now()));
}

void Server::shutdown() {
    acceptor_.close();
    clock_.cancel();
    for (auto& [id, c] : connections_)
        c->close(
            R"({"type":"goodbye","reason":"shutdown","text":"El servidor se está apagando. Hasta pronto."})");
    connections_.clear();
}

}  // namespace

int Serve(const ServerOptions& options) {
    try {
        ssl::context tls(ssl::context::tls_server);
        tls.set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 | ssl::context::no_sslv3 |
                        ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
        tls.use_certificate_chain_file(options.certPath);
        tls.use_private_key_file(options.keyPath, ssl::context::pem);
        JournalStore store(options.journalPath);
        net::io_context io;
        Server server(io, tls, tcp::endpoint(net::ip::make_address(options.address), options.port), store,
                      options.seed);
        net::signal_set signals(io, SIGINT, SIGTERM);
        signals.async_wait([&](beast::error_code, int) { server.shutdown(); });
        std::cout << "veldrisa-server: escuchando en " << options.address << ":" << server.port()
                  << std::endl;
        io.run();
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "veldrisa-server: no se puede servir: " << e.what() << std::endl;
        return 1;
    }
}

}  // namespace veldrisa
