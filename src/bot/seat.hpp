// One bot on the network: its connection, its pace, its coming back after a cut, and what it
// writes down of what it received.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bot/player.hpp"
#include "net/ws_client.hpp"

namespace veldrisa::bot {

// How long a bot waits before each key, drawn between the two bounds.
struct Pace {
    int minMs = 0, maxMs = 0;
};
inline constexpr Pace Fast{0, 0}, Human{800, 2500};

// What every bot of a run adds to.
struct Stats {
    std::uint64_t connections = 0, keys = 0, errors = 0;
    std::vector<double> latencyMs;  // from a key sent to the first message received after it
};

struct SeatOptions {
    std::string host;
    std::uint16_t port = 0;
    net::ClientOptions client;
    Pace pace = Fast;
    std::uint32_t seed = 1;
    // The turns at which the connection is cut once, to come back: room, card, target (before
    // answering), night (once the Space that starts it is sent).
    std::set<std::string> cutAt;
    std::ostream* record = nullptr;  // the game messages received, one JSON line each
    std::ostream* log = nullptr;     // what goes wrong, in plain words
};

class BotSeat : public std::enable_shared_from_this<BotSeat> {
public:
    BotSeat(boost::asio::io_context& io, boost::asio::ssl::context& tls, SeatOptions options,
            BotConfig config, Stats& stats);

    void start();
    // Ends at once: the connection closed, no more keys, no coming back.
    void stop();

    std::function<void(const std::string& table)> onTable;  // the table's identifier, once known
    std::function<void(bool finished)> onDone;              // the game ended, or the bot gave up

    const BotPlayer& player() const { return player_; }

private:
    void connect();
    void opened();
    void received(std::string_view text);
    void lost(const std::string& why);
    void cut(const std::string& at);
    void schedule(const Move& move);
    void press(const Move& move);
    void done(bool finished);
    std::chrono::milliseconds wait();

    boost::asio::io_context& io_;
    boost::asio::ssl::context& tls_;
    SeatOptions options_;
    BotPlayer player_;
    Stats& stats_;
    std::shared_ptr<net::WebSocketClient> client_;
    boost::asio::steady_timer keyTimer_, retryTimer_;
    std::mt19937 paceRng_;
    std::chrono::steady_clock::time_point keySent_;
    Move lastMove_;
    bool awaiting_ = false, over_ = false, tableTold_ = false;
    int attempts_ = 0, generation_ = 0;
};

}  // namespace veldrisa::bot
