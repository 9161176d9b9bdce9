// A bot's connection kept alive: each message handed to its player, each key sent at its pace,
// and after a cut or a restart of the server, the seat taken back with its token.
#include "bot/seat.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace veldrisa::bot {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

// Coming back: the waits double from the first up to the last, for so many tries in a row.
constexpr std::chrono::milliseconds FirstRetry = 250ms, LastRetry = 4s;
constexpr int MaxAttempts = 25;
// How long a bot that did not create the table leaves the creator to go on first.
constexpr auto Patience = 3s;
// A key refused for coming too fast is sent again after this.
constexpr auto RateWait = 1s;

bool Recorded(const std::string& type) {
    return type == "say" || type == "sound" || type == "log" || type == "beep";
}

}  // namespace

BotSeat::BotSeat(boost::asio::io_context& io, boost::asio::ssl::context& tls, SeatOptions options,
                 BotConfig config, Stats& stats)
    : io_(io),
      tls_(tls),
      options_(std::move(options)),
      player_(std::move(config), options_.seed),
      stats_(stats),
      keyTimer_(io),
      retryTimer_(io),
      paceRng_(options_.seed ^ 0x9e3779b9u) {}

void BotSeat::start() {
    ++stats_.connections;
    connect();
}

void BotSeat::stop() {
    over_ = true;
    keyTimer_.cancel();
    retryTimer_.cancel();
    if (client_) client_->close();
}

void BotSeat::connect() {
    const std::weak_ptr<BotSeat> weak = weak_from_this();
    const int generation = ++generation_;
    // Each handler answers for its own connection only: an older one may still report its end.
    const auto current = [weak, generation] {
        auto self = weak.lock();
        return self && !self->over_ && self->generation_ == generation ? self : nullptr;
    };
    net::ClientHandlers handlers;
    handlers.opened = [current](const std::string&) {
        if (auto self = current()) self->opened();
    };
    handlers.message = [current](std::string_view text) {
        if (auto self = current()) self->received(text);
    };
    handlers.closed = [current](const std::string& reason) {
        if (auto self = current()) self->lost("conexión perdida: " + reason);
    };
    handlers.failed = [current](net::Failure kind, const std::string& what) {
        if (auto self = current()) self->lost(std::string(net::FailureText(kind)) + " (" + what + ")");
    };
    client_ = net::WebSocketClient::Create(io_, tls_, std::move(handlers));
    client_->connect(options_.host, options_.port, options_.client);
}

void BotSeat::opened() { client_->send(player_.hello()); }

void BotSeat::received(std::string_view text) {
    if (awaiting_) {
        awaiting_ = false;
        stats_.latencyMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - keySent_).count());
    }
    const json message = json::parse(text, nullptr, false);
    const std::string type = message.is_object() ? message.value("type", "") : "";
    if (type == "welcome") attempts_ = 0;
    if (options_.record && Recorded(type)) *options_.record << text << '\n';
    if (options_.record && type == "history")
        for (const json& missed : message.value("missed", json::array()))
            *options_.record << missed.dump() << '\n';
    if (type == "error") {
        ++stats_.errors;
        const std::string reason = message.value("reason", "");
        // The server may not have seen the old connection go yet: try again shortly.
        if (reason == "token" && player_.started()) return client_->cut();
        if (reason == "rate") {
            keyTimer_.expires_after(RateWait);
            keyTimer_.async_wait([self = shared_from_this(), move = lastMove_](boost::system::error_code ec) {
                if (!ec) self->press(move);
            });
        }
    }
    const Reaction r = player_.receive(message);
    if (r.forget) keyTimer_.cancel();
    for (const std::string& m : r.send) client_->send(m);
    if (!tableTold_ && !player_.table().empty()) {
        tableTold_ = true;
        if (onTable) onTable(player_.table());
    }
    if (player_.finished()) {
        client_->close();
        return done(true);
    }
    if (r.key) schedule(*r.key);
}

void BotSeat::schedule(const Move& move) {
    // A cut before answering: the question comes again once the seat is taken back.
    if (move.answers != "next" && options_.cutAt.erase(move.answers)) return cut(move.answers);
    keyTimer_.expires_after(wait() + (move.patient ? std::chrono::milliseconds(Patience) : 0ms));
    keyTimer_.async_wait([self = shared_from_this(), move](boost::system::error_code ec) {
        if (!ec && !self->over_) self->press(move);
    });
}

void BotSeat::press(const Move& move) {
    lastMove_ = move;
    client_->send(move.message);
    ++stats_.keys;
    if (!awaiting_) {
        awaiting_ = true;
        keySent_ = std::chrono::steady_clock::now();
    }
    if (move.next == "night" && options_.cutAt.erase("night")) cut("night");
}

void BotSeat::cut(const std::string& at) {
    if (options_.log) *options_.log << "veldrisa-bot: corte de la conexión en " << at << std::endl;
    client_->cut();
}

void BotSeat::lost(const std::string& why) {
    awaiting_ = false;
    keyTimer_.cancel();
    if (options_.log) *options_.log << "veldrisa-bot: " << why << std::endl;
    if (!player_.started() || ++attempts_ > MaxAttempts) {
        ++stats_.errors;
        return done(false);
    }
    const auto backoff =
        std::min<std::chrono::milliseconds>(FirstRetry * (1 << std::min(attempts_ - 1, 5)), LastRetry);
    retryTimer_.expires_after(backoff);
    retryTimer_.async_wait([self = shared_from_this()](boost::system::error_code ec) {
        if (!ec && !self->over_) self->connect();
    });
}

void BotSeat::done(bool finished) {
    over_ = true;
    keyTimer_.cancel();
    retryTimer_.cancel();
    if (options_.record) options_.record->flush();
    if (onDone) onDone(finished);
}

std::chrono::milliseconds BotSeat::wait() {
    const auto spread = static_cast<unsigned>(options_.pace.maxMs - options_.pace.minMs + 1);
    return std::chrono::milliseconds(options_.pace.minMs + static_cast<int>(paceRng_() % spread));
}

}  // namespace veldrisa::bot
