// The WebSocket client's one implementation: Boost.Beast over Asio's TLS stream.
#include "net/ws_client.hpp"

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/ssl.hpp>
#include <boost/beast/websocket.hpp>
#include <boost/beast/websocket/ssl.hpp>
#include <cctype>
#include <deque>
#include <nlohmann/json.hpp>

#include "net/text_frames.hpp"

namespace veldrisa::net {
namespace {

namespace beast = boost::beast;
namespace asio = boost::asio;
namespace ssl = asio::ssl;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

// A server frame above this closes the connection: the server's largest message is a log.
constexpr std::size_t MaxFrameBytes = 1024 * 1024;

std::string Hex(const unsigned char* bytes, unsigned n) {
    static const char* const digits = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < n; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

// The fingerprint as compared: hex digits only, lower case.
std::string Normalized(std::string_view fingerprint) {
    std::string out;
    for (const char c : fingerprint)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string Fingerprint(SSL* ssl) {
    X509* cert = SSL_get1_peer_certificate(ssl);
    if (!cert) return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned n = 0;
    const bool ok = X509_digest(cert, EVP_sha256(), digest, &n) == 1;
    X509_free(cert);
    return ok ? Hex(digest, n) : std::string();
}

// The protocol's refusal of a client's version, the one message this layer understands.
bool VersionRefused(std::string_view text) {
    const auto m = nlohmann::json::parse(text, nullptr, false);
    return m.is_object() && m.value("type", "") == "error" && m.value("reason", "") == "version";
}

bool Unreachable(const beast::error_code& ec) {
    return ec == asio::error::host_unreachable || ec == asio::error::network_unreachable ||
           ec == asio::error::host_not_found || ec == asio::error::host_not_found_try_again ||
           ec == asio::error::no_data;
}

class Client final : public WebSocketClient, public std::enable_shared_from_this<Client> {
public:
    Client(asio::io_context& io, ssl::context& tls, ClientHandlers handlers)
        : resolver_(io), ws_(io, tls), handlers_(std::move(handlers)) {}

    void connect(const std::string& host, std::uint16_t port, const ClientOptions& options) override {
        host_ = host;
        options_ = options;
        resolver_.async_resolve(
            host, std::to_string(port),
            [self = shared_from_this()](beast::error_code ec, tcp::resolver::results_type r) {
                self->resolved(ec, r);
            });
    }

    void send(std::string text) override {
        if (state_ == State::Done || ending_ != Ending::None) return;
        queue_.push_back(std::move(text));
        if (queue_.size() == 1 && state_ == State::Open) write();
    }

    void close() override { end(Ending::Close); }

    void cut() override { end(Ending::Cut); }

private:
    enum class State { Connecting, Open, Done };
    enum class Ending { None, Close, Cut };

    void end(Ending how) {
        if (state_ == State::Done || ending_ != Ending::None) return;
        if (state_ == State::Connecting) {
            state_ = State::Done;
            resolver_.cancel();
            beast::get_lowest_layer(ws_).close();
            return;
        }
        ending_ = how;
        if (queue_.empty()) finish();
    }

    // What was queued is written: the connection ends as asked.
    void finish() {
        if (ending_ == Ending::Close) {
            state_ = State::Done;
            ws_.async_close(websocket::close_code::normal, [self = shared_from_this()](beast::error_code) {});
            return;
        }
        beast::error_code ignored;
        beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
        beast::get_lowest_layer(ws_).close();
    }

    void fail(Failure kind, const std::string& what) {
        if (state_ == State::Done) return;
        state_ = State::Done;
        beast::get_lowest_layer(ws_).close();
        if (handlers_.failed) handlers_.failed(kind, what);
    }

    // A failure while connecting, named by the step it stopped.
    void failStep(const beast::error_code& ec, Failure otherwise) {
        if (ec == beast::error::timeout) return fail(Failure::TimedOut, ec.message());
        if (Unreachable(ec)) return fail(Failure::NoServer, ec.message());
        if (ec == asio::error::connection_refused) return fail(Failure::NotListening, ec.message());
        fail(otherwise, ec.message());
    }

    void resolved(beast::error_code ec, const tcp::resolver::results_type& results) {
        if (state_ == State::Done) return;
        if (ec) return failStep(ec, Failure::NoServer);
        if (options_.trust == Trust::Any) {
            const bool loopback = std::all_of(results.begin(), results.end(), [](const auto& r) {
                return r.endpoint().address().is_loopback();
            });
            if (!loopback) return fail(Failure::Tls, "any certificate is accepted only on this machine");
        }
        beast::get_lowest_layer(ws_).expires_after(options_.timeout);
        beast::get_lowest_layer(ws_).async_connect(
            results,
            [self = shared_from_this()](beast::error_code e, const tcp::endpoint&) { self->connected(e); });
    }

    void connected(beast::error_code ec) {
        if (state_ == State::Done) return;
        if (ec) return failStep(ec, Failure::NoServer);
        SSL* ssl = ws_.next_layer().native_handle();
        SSL_set_tlsext_host_name(ssl, host_.c_str());
        if (options_.trust == Trust::System) {
            ws_.next_layer().set_verify_mode(ssl::verify_peer);
            ws_.next_layer().set_verify_callback(ssl::host_name_verification(host_));
        } else {
            ws_.next_layer().set_verify_mode(ssl::verify_none);
        }
        ws_.next_layer().async_handshake(
            ssl::stream_base::client, [self = shared_from_this()](beast::error_code e) { self->secured(e); });
    }

    void secured(beast::error_code ec) {
        if (state_ == State::Done) return;
        if (ec) return failStep(ec, Failure::Tls);
        fingerprint_ = Fingerprint(ws_.next_layer().native_handle());
        if (options_.trust == Trust::Pinned && fingerprint_ != Normalized(options_.fingerprint))
            return fail(Failure::Tls, "the server's certificate is not the one expected: " + fingerprint_);
        ws_.read_message_max(MaxFrameBytes);
        ws_.async_handshake(host_, options_.target,
                            [self = shared_from_this()](beast::error_code e) { self->upgraded(e); });
    }

    void upgraded(beast::error_code ec) {
        if (state_ == State::Done) return;
        if (ec) return failStep(ec, Failure::Refused);
        beast::get_lowest_layer(ws_).expires_never();
        ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::client));
        state_ = State::Open;
        // What was sent while connecting goes first; what the handler sends queues behind it.
        if (!queue_.empty()) write();
        if (handlers_.opened) handlers_.opened(fingerprint_);
        if (state_ == State::Open) read();
    }

    void read() {
        ws_.async_read(buffer_,
                       [self = shared_from_this()](beast::error_code ec, std::size_t) { self->got(ec); });
    }

    void got(beast::error_code ec) {
        if (state_ == State::Done) return;
        if (ec) {
            const auto& reason = ws_.reason().reason;
            return lost(ec == websocket::error::closed ? std::string(reason.data(), reason.size())
                                                       : ec.message());
        }
        const std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (VersionRefused(text)) return fail(Failure::Version, text);
        if (handlers_.message) handlers_.message(text);
        if (state_ == State::Open) read();
    }

    void lost(const std::string& reason) {
        state_ = State::Done;
        queue_.clear();
        beast::get_lowest_layer(ws_).close();
        if (handlers_.closed) handlers_.closed(reason);
    }

    void write() {
        WriteFirst(ws_, queue_, [self = shared_from_this()](beast::error_code ec) { self->written(ec); });
    }

    void written(beast::error_code ec) {
        if (state_ != State::Open) return;
        // A failed write is reported by the read that fails with it.
        if (ec) return;
        queue_.pop_front();
        if (!queue_.empty()) return write();
        if (ending_ != Ending::None) finish();
    }

    tcp::resolver resolver_;
    websocket::stream<ssl::stream<beast::tcp_stream>> ws_;
    beast::flat_buffer buffer_;
    std::deque<std::string> queue_;
    ClientHandlers handlers_;
    ClientOptions options_;
    std::string host_, fingerprint_;
    State state_ = State::Connecting;
    Ending ending_ = Ending::None;
};

}  // namespace

const char* FailureText(Failure f) {
    switch (f) {
        case Failure::NoServer: return "No se encuentra esa dirección.";
        case Failure::NotListening: return "No hay ningún servidor en esa dirección.";
        case Failure::Refused: return "El servidor ha rechazado la conexión.";
        case Failure::TimedOut: return "El servidor no ha contestado a tiempo.";
        case Failure::Tls: return "No se ha podido establecer una conexión segura con el servidor.";
        case Failure::Version: return "El servidor usa otra versión del protocolo.";
    }
    return "No se ha podido conectar con el servidor.";
}

std::shared_ptr<WebSocketClient> WebSocketClient::Create(asio::io_context& io, ssl::context& tls,
                                                         ClientHandlers handlers) {
    return std::make_shared<Client>(io, tls, std::move(handlers));
}

ssl::context MakeClientTls() {
    ssl::context tls(ssl::context::tls_client);
    tls.set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 | ssl::context::no_sslv3 |
                    ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
    tls.set_default_verify_paths();
    return tls;
}

}  // namespace veldrisa::net
