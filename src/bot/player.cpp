// The bot's answers: the lobby's steps, then one key for each turn that asks something of it.
#include "bot/player.hpp"

#include <utility>

namespace veldrisa::bot {
namespace {

using nlohmann::json;

std::string Line(const json& m) { return m.dump(); }

std::string Key(const std::string& key, bool control = false) {
    json m{{"type", "key"}, {"key", key}};
    if (control) m["control"] = true;
    return Line(m);
}

bool GameMessage(const std::string& type) {
    return type == "say" || type == "sound" || type == "log" || type == "beep";
}

}  // namespace

BotPlayer::BotPlayer(BotConfig config, std::uint32_t seed) : config_(std::move(config)), rng_(seed) {}

std::string BotPlayer::hello() const {
    json m{{"type", "hello"}, {"version", 1}, {"client", "bot"}};
    if (started_) {
        m["token"] = token_;
        m["seen"] = seen_;
    }
    return Line(m);
}

Reaction BotPlayer::receive(const json& message) {
    Reaction r;
    const std::string type = message.value("type", "");
    if (GameMessage(type)) {
        ++seen_;
    } else if (type == "history") {
        seen_ += message.value("missed", json::array()).size();
    } else if (type == "welcome" && token_.empty()) {
        token_ = message.value("token", "");
        json first{{"name", config_.name}};
        if (config_.role == BotConfig::Role::Create) {
            first.update({{"type", "create_table"},
                          {"private", !config_.code.empty()},
                          {"time_limit", config_.timeLimit}});
        } else {
            first.update({{"type", "join"}, {"table", config_.table}});
            first["as"] = config_.role == BotConfig::Role::Watch ? "spectator" : "player";
        }
        if (!config_.code.empty()) first["code"] = config_.code;
        r.send.push_back(Line(first));
    } else if (type == "table") {
        lobby(message, r);
    } else if (type == "turn") {
        turn(message, r);
    } else if (type == "error" && message.value("reason", "") == "taken" && pendingClaim_ > 0) {
        refused_.insert(std::exchange(pendingClaim_, 0));
        claimNext(r);
    }
    return r;
}

void BotPlayer::lobby(const json& table, Reaction& r) {
    table_ = table.value("id", "");
    // A restarted server no longer knows who created a started table; the bot still does.
    creator_ = creator_ || table.value("creator", false);
    started_ = started_ || table.value("started", false);
    characters_ = table.value("characters", json::array());
    if (started_ || config_.role == BotConfig::Role::Watch) return;
    mine_ = 0;
    int played = 0;
    for (const json& c : characters_) {
        mine_ += c.value("yours", false);
        played += !c.value("computer", true);
        if (c.value("yours", false) && c.value("character", 0) == pendingClaim_) pendingClaim_ = 0;
    }
    claimNext(r);
    if (creator_ && !startSent_ && played >= config_.startAt &&
        table.value("spectators", 0) >= config_.watchers) {
        startSent_ = true;
        r.send.push_back(Line({{"type", "start"}}));
    }
}

// One claim at a time: the first free character from its preferred one on, that it was not refused.
void BotPlayer::claimNext(Reaction& r) {
    if (pendingClaim_ > 0 || mine_ >= config_.characters || characters_.empty()) return;
    const std::size_t n = characters_.size(), first = static_cast<std::size_t>(config_.prefer - 1) % n;
    for (std::size_t i = 0; i < n; ++i) {
        const json& c = characters_[(first + i) % n];
        const int character = c.value("character", 0);
        if (!c.value("computer", false) || refused_.count(character)) continue;
        pendingClaim_ = character;
        r.send.push_back(Line({{"type", "claim"}, {"character", character}}));
        return;
    }
}

std::string BotPlayer::digit(int choices, bool mayThrow) {
    const int d = 1 + static_cast<int>(rng_() % static_cast<unsigned>(choices < 1 ? 1 : choices));
    // Now and then a card is thrown away rather than played, as players do.
    const bool control = mayThrow && rng_() % 8 == 0;
    return Key(std::to_string(d % 10), control);
}

void BotPlayer::turn(const json& t, Reaction& r) {
    r.forget = true;
    if (config_.role == BotConfig::Role::Watch && t.value("ask", "") != "end") return;
    const std::string ask = t.value("ask", "");
    if (ask == "next") {
        if (t.value("next", "") == "rooms") ++days_;
        r.key = Move{Key("SPACE"), ask, t.value("next", ""), !creator_};
    } else if (ask == "end") {
        ++gamesFinished_;
        if (config_.newGames && config_.role != BotConfig::Role::Watch) {
            r.key = Move{Key("1"), ask, {}, !creator_};
            return;
        }
        finished_ = true;
        r.send.push_back(Line({{"type", "leave"}}));
    } else if (t.value("yours", false)) {
        r.key = Move{digit(t.value("choices", 1), ask == "card"), ask, {}, false};
    }
}

}  // namespace veldrisa::bot
