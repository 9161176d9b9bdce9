// The bot's player: what it answers to each server message, from the lobby to the game's end,
// its choices drawn from its own seed. It knows nothing of sockets or clocks.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace veldrisa::bot {

struct BotConfig {
    enum class Role { Create, Join, Watch };
    Role role = Role::Create;
    std::string name = "Bot";
    std::string table;  // Join, Watch: the table's identifier
    std::string code;   // a private table's code: the one it creates, or the one it joins with
    int timeLimit = 0;
    int startAt = 1;        // Create: starts the game once this many characters have players
    int watchers = 0;       // and this many spectators watch it
    int characters = 1;     // how many characters it claims
    int prefer = 1;         // the character it tries first, the next ones after it
    bool newGames = false;  // at a game's end the creator deals the next one instead of leaving
};

// A key to press once the bot's pace allows.
struct Move {
    std::string message;
    std::string answers;   // the turn's ask: room, card, target, next or end
    std::string next;      // for next: what Space goes on to
    bool patient = false;  // a Space pressed only when nobody else has gone on meanwhile
};

struct Reaction {
    std::vector<std::string> send;  // at once
    std::optional<Move> key;        // replaces any key still waiting
    bool forget = false;            // drop any key still waiting: the game moved on
};

class BotPlayer {
public:
    BotPlayer(BotConfig config, std::uint32_t seed);

    // The opening message of a connection: a new one, or coming back to the seat with what it has.
    std::string hello() const;
    Reaction receive(const nlohmann::json& message);

    const BotConfig& config() const { return config_; }
    const std::string& table() const { return table_; }
    bool started() const { return started_; }
    // Its game is over and it left the table (or, dealing new games, never).
    bool finished() const { return finished_; }
    int gamesFinished() const { return gamesFinished_; }
    int days() const { return days_; }
    // The game messages received so far, the history's included.
    std::uint64_t seen() const { return seen_; }

private:
    void lobby(const nlohmann::json& table, Reaction& r);
    void claimNext(Reaction& r);
    void turn(const nlohmann::json& t, Reaction& r);
    std::string digit(int choices, bool mayThrow);

    BotConfig config_;
    std::mt19937 rng_;
    std::string token_, table_;
    bool started_ = false, finished_ = false, startSent_ = false, creator_ = false;
    int pendingClaim_ = 0, mine_ = 0, gamesFinished_ = 0, days_ = 0;
    std::set<int> refused_;      // characters it was refused
    nlohmann::json characters_;  // the lobby as last seen
    std::uint64_t seen_ = 0;
};

}  // namespace veldrisa::bot
