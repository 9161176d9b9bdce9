// The server's hall: connections, the tables' lobbies, and the games they start, driven by the
// clients' messages and by the clock; the network only carries what comes in and goes out.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/messages.hpp"
#include "server/journal_store.hpp"
#include "server/table.hpp"

namespace veldrisa {

using ConnectionId = std::uint64_t;
using Instant = std::chrono::steady_clock::time_point;

struct Outgoing {
    ConnectionId to;
    std::string message;
    bool operator==(const Outgoing&) const = default;
};

class Hall {
public:
    // How long a dropped player's seat waits before the computer takes its characters.
    static constexpr std::chrono::seconds Grace{120};

    // seeds: each new game's seed; tokens: a fresh secret for each new connection; store, when
    // given, keeps every started table's journal, and the tables it kept are taken up again: their
    // players come back with their tokens.
    Hall(std::function<std::uint32_t()> seeds, std::function<std::string()> tokens,
         JournalStore* store = nullptr, Instant now = {});

    // One client message, checked before it touches anything; what each connection is sent.
    std::vector<Outgoing> receive(ConnectionId from, std::string_view text, Instant now);
    // The connection is gone. Its characters wait for it for the grace period; then, before the
    // start, they go back to the table, and once playing the computer plays them.
    std::vector<Outgoing> drop(ConnectionId gone, Instant now);
    // Time limits and grace periods that ran out by now.
    std::vector<Outgoing> tick(Instant now);

private:
    struct Visitor {
        std::string token;
        std::string name;
        std::string table;  // empty: in no table
        bool spectator = false;
    };
    // The game messages one seat was sent: how many, and the latest, for its history.
    struct Stream {
        std::uint64_t sent = 0;
        std::deque<std::string> recent;
        std::uint64_t awayFrom = 0;  // sent when its connection dropped
        bool left = false;           // its player left on purpose: the token takes nothing back
        void add(std::string message);
        std::vector<std::string> since(std::uint64_t first) const;
    };
    struct Room {
        std::string id, code, creator;
        int timeLimit = 0;
        std::array<std::string, 11> owner;    // 1..10: the claiming connection's token, or empty
        std::array<std::string, 11> names;    // 1..10: given names, empty for the roster's own
        std::vector<std::string> seatTokens;  // once started: seat index -> token
        std::unique_ptr<OnlineTable> game;
        std::optional<int> asked;
        Instant askedSince{};
        std::map<std::string, Instant> away;         // players whose connection dropped, and since when
        std::map<std::string, std::string> players;  // token -> the player's name
        std::map<std::string, Stream> streams;       // token -> what its seat was sent
        std::optional<protocol::Turn> turn;          // what the game waited for, as last told
    };
    using Out = std::vector<Outgoing>;

    void handle(ConnectionId from, Visitor& v, const protocol::ClientMessage& m, Instant now, Out& out);
    void create(ConnectionId from, Visitor& v, const protocol::CreateTable& m, Out& out);
    void join(ConnectionId from, Visitor& v, const protocol::Join& m, Out& out);
    void lobby(ConnectionId from, Visitor& v, const protocol::ClientMessage& m, Out& out);
    void start(Room& room, Instant now, Out& out);
    void key(ConnectionId from, Visitor& v, const protocol::GameKey& k, Instant now, Out& out);
    void leave(Visitor& v, Instant now, Out& out);
    void handOver(Room& room, const std::string& token);
    void closeIfDeserted(const std::string& id);
    static bool Over(const OnlineTable& game, const std::optional<protocol::Turn>& turn);
    void comeBack(ConnectionId from, Visitor& v, const protocol::Hello& h, Out& out);
    void tellTurn(const Room& room, const Visitor& v, ConnectionId to, Out& out) const;
    void restore(const StoredTable& stored, Instant now);
    void refuse(ConnectionId to, protocol::Reason r, Out& out) const;
    // The table as it stands, to everyone at it, with what just happened; `quiet`, the one it
    // happened to, is not told it again.
    void announce(const Room& room, const std::string& event, Out& out, ConnectionId quiet = 0) const;
    void deliver(Room& room, Instant now, Out& out);
    // The table's visitors, found in one pass over the hall; a key's delivery makes one pass, not
    // one per seat.
    using Present = std::vector<std::pair<ConnectionId, const Visitor*>>;
    Present present(const Room& room) const;
    std::vector<ConnectionId> at(const Room& room, const Present& present, const std::string& token) const;
    std::vector<protocol::TableSummary> summaries() const;

    std::function<std::uint32_t()> seeds_;
    std::function<std::string()> tokens_;
    std::map<ConnectionId, Visitor> visitors_;
    std::map<std::string, Room> rooms_;
    std::uint64_t nextTable_ = 1;
    std::array<std::string, 11> rosterNames_;
    JournalStore* store_;  // the characters' names before anyone renames them
};

}  // namespace veldrisa
