// The hall's rules: who may do what, in which table, at which moment.
#include "server/hall.hpp"

#include <algorithm>

#include "common/generador.hpp"
#include "roster/personajes.hpp"

namespace veldrisa {
namespace {

using protocol::Reason;

// What an away seat's history keeps at most, as the game's own history does.
constexpr std::size_t MaxMissed = 200;

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};

}  // namespace

Hall::Hall(std::function<std::uint32_t()> seeds, std::function<std::string()> tokens, JournalStore* store,
           Instant now)
    : seeds_(std::move(seeds)), tokens_(std::move(tokens)), store_(store) {
    Roster roster{};
    Generador rnd;
    CreaPersonajes(roster, rnd);
    for (int c = 1; c <= 10; ++c) rosterNames_[c] = roster[static_cast<std::size_t>(c)].Nombre;
    if (store_)
        for (const StoredTable& stored : store_->tables()) restore(stored, now);
}

// A table taken up again from its journal: every seat is away until its player comes back.
void Hall::restore(const StoredTable& stored, Instant now) {
    nextTable_ = std::max<std::uint64_t>(nextTable_, std::stoull(stored.id.substr(1)) + 1);
    auto game = std::make_unique<OnlineTable>(stored.setup, stored.journal);
    auto turn = game->turn();
    // A game already over has nothing left for its players; its journal stays in the store.
    if (Over(*game, turn)) return;
    Room& room = rooms_[stored.id];
    room.id = stored.id;
    room.timeLimit = stored.timeLimit;
    room.names = stored.setup.names;
    room.game = std::move(game);
    for (std::size_t seat = 0; seat < stored.holders.size(); ++seat) {
        const std::string& token = stored.holders[seat].token;
        room.seatTokens.push_back(token);
        room.players[token] = stored.holders[seat].name;
        room.away[token] = now;
        Stream& stream = room.streams[token];
        for (std::string& line : room.game->takeRestored(seat))
            if (auto message = protocol::GameMessage(line)) stream.add(std::move(*message));
        stream.awayFrom = stream.sent;
        for (std::size_t c = 1; c <= 10; ++c)
            if (stored.setup.seats[seat][c]) room.owner[c] = token;
    }
    room.asked = room.game->asked();
    room.askedSince = now;
    room.turn = std::move(turn);
}

bool Hall::Over(const OnlineTable& game, const std::optional<protocol::Turn>& turn) {
    return game.ended() || (turn && turn->ask == protocol::Ask::End);
}

void Hall::refuse(ConnectionId to, Reason r, Out& out) const {
    out.push_back({to, protocol::ErrorMessage(r)});
}

// The connections that receive a reader's stream: a seat's own, or (token empty) everyone at the
// table who holds no seat.
std::vector<ConnectionId> Hall::at(const Room& room, const Present& present, const std::string& token) const {
    std::vector<ConnectionId> found;
    for (const auto& [id, v] : present) {
        const bool seated = !v->spectator && std::find(room.seatTokens.begin(), room.seatTokens.end(),
                                                       v->token) != room.seatTokens.end();
        if (token.empty() ? !seated : seated && v->token == token) found.push_back(id);
    }
    return found;
}

Hall::Present Hall::present(const Room& room) const {
    Present found;
    for (const auto& [id, v] : visitors_)
        if (v.table == room.id) found.emplace_back(id, &v);
    return found;
}

// The players' names are looked up once, not for each visitor and character: every join and
// claim announces, and with a pass per visitor and character a full hall's joins took seconds.
void Hall::announce(const Room& room, const std::string& event, Out& out, ConnectionId quiet) const {
    std::array<std::string, 11> players;
    for (int c = 1; c <= 10; ++c)
        if (auto away = room.players.find(room.owner[c]);
            !room.owner[c].empty() && away != room.players.end())
            players[c] = away->second;
    for (const auto& [id, v] : visitors_)
        for (int c = 1; c <= 10; ++c)
            if (!room.owner[c].empty() && v.token == room.owner[c]) players[c] = v.name;
    const Present here = present(room);
    const auto spectators = static_cast<int>(std::count_if(
        here.begin(), here.end(), [](const auto& visitor) { return visitor.second->spectator; }));
    for (const auto& [id, v] : here) {
        protocol::TableView view{room.id,
                                 !room.code.empty(),
                                 room.timeLimit,
                                 room.creator == v->token,
                                 v->spectator,
                                 room.game != nullptr,
                                 spectators,
                                 {},
                                 id == quiet ? std::string() : event};
        for (int c = 1; c <= 10; ++c) {
            protocol::CharacterEntry& e = view.characters[static_cast<std::size_t>(c - 1)];
            e.name = room.names[c].empty() ? rosterNames_[c] : room.names[c];
            e.yours = !v->spectator && room.owner[c] == v->token;
            e.player = players[c];
        }
        out.push_back({id, protocol::TableMessage(view)});
    }
}

std::vector<protocol::TableSummary> Hall::summaries() const {
    std::vector<protocol::TableSummary> list;
    for (const auto& [id, room] : rooms_) {
        protocol::TableSummary t{id, !room.code.empty(), room.timeLimit, 0, 0, 0, room.game != nullptr};
        for (int c = 1; c <= 10; ++c) t.free += room.owner[c].empty();
        for (const auto& [cid, v] : visitors_)
            if (v.table == id) ++(v.spectator ? t.spectators : t.players);
        list.push_back(t);
    }
    return list;
}

std::vector<Outgoing> Hall::receive(ConnectionId from, std::string_view text, Instant now) {
    Out out;
    Visitor& v = visitors_[from];
    auto parsed = protocol::ParseClientMessage(text);
    if (const auto* refusal = std::get_if<protocol::Refusal>(&parsed)) {
        refuse(from, refusal->reason, out);
        return out;
    }
    const auto& message = std::get<protocol::ClientMessage>(parsed);
    const bool hello = std::holds_alternative<protocol::Hello>(message);
    if (hello == !v.token.empty()) {
        refuse(from, Reason::Order, out);
        return out;
    }
    handle(from, v, message, now, out);
    return out;
}

void Hall::handle(ConnectionId from, Visitor& v, const protocol::ClientMessage& m, Instant now, Out& out) {
    std::visit(Overloaded{
                   [&](const protocol::Hello& h) {
                       if (h.version != protocol::Version) return refuse(from, Reason::Version, out);
                       if (!h.token.empty()) return comeBack(from, v, h, out);
                       v.token = tokens_();
                       out.push_back({from, protocol::WelcomeMessage(v.token)});
                   },
                   [&](const protocol::ListTables&) {
                       out.push_back({from, protocol::TablesMessage(summaries())});
                   },
                   [&](const protocol::CreateTable& c) { create(from, v, c, out); },
                   [&](const protocol::Join& j) { join(from, v, j, out); },
                   [&](const protocol::GameKey& k) { key(from, v, k, now, out); },
                   [&](const protocol::Leave&) { leave(v, now, out); },
                   [&](const protocol::Start&) {
                       auto room = rooms_.find(v.table);
                       if (room == rooms_.end()) return refuse(from, Reason::Order, out);
                       if (room->second.creator != v.token || v.spectator)
                           return refuse(from, Reason::NotAllowed, out);
                       if (room->second.game) return refuse(from, Reason::Started, out);
                       start(room->second, now, out);
                   },
                   [&](const auto&) { lobby(from, v, m, out); },
               },
               m);
}

// A player back with its token takes its seat again: what it has not received goes into its history,
// unspoken, and the computer gives back the characters it took over.
void Hall::comeBack(ConnectionId from, Visitor& v, const protocol::Hello& h, Out& out) {
    const std::string& token = h.token;
    const bool taken = std::any_of(visitors_.begin(), visitors_.end(),
                                   [&](const auto& other) { return other.second.token == token; });
    auto room = std::find_if(rooms_.begin(), rooms_.end(), [&](const auto& r) {
        const auto stream = r.second.streams.find(token);
        if (!r.second.game) return r.second.away.count(token) > 0;
        return stream != r.second.streams.end() && !stream->second.left;
    });
    if (taken || room == rooms_.end()) return refuse(from, Reason::Token, out);
    Room& r = room->second;
    v.token = token;
    v.table = r.id;
    v.name = r.players[token];
    r.away.erase(token);
    out.push_back({from, protocol::WelcomeMessage(token)});
    // Back at the table before its start: the characters it claimed waited for it.
    if (!r.game) return announce(r, v.name + " ha vuelto", out, from);
    for (int c = 1; c <= 10; ++c)
        if (r.owner[c] == token) r.game->takeBack(c);
    const auto asked = r.game->asked();
    const std::string summary =
        "Ha vuelto a la partida." + (asked ? " Es el turno de " + r.game->name(*asked) + "." : std::string());
    const Stream& stream = r.streams[token];
    const std::uint64_t first = h.seen ? static_cast<std::uint64_t>(*h.seen) : stream.awayFrom;
    out.push_back({from, protocol::HistoryMessage(stream.since(first), summary)});
    tellTurn(r, v, from, out);
    announce(r, v.name + " ha vuelto", out, from);
}

void Hall::tellTurn(const Room& room, const Visitor& v, ConnectionId to, Out& out) const {
    if (!room.turn) return;
    const int asked = room.turn->character;
    const bool yours = !v.spectator && asked > 0 && room.owner[asked] == v.token;
    out.push_back({to, protocol::TurnMessage(*room.turn, yours)});
}

void Hall::Stream::add(std::string message) {
    ++sent;
    recent.push_back(std::move(message));
    if (recent.size() > MaxMissed) recent.pop_front();
}

// The messages from the first-th on, as far as they are kept.
std::vector<std::string> Hall::Stream::since(std::uint64_t first) const {
    const std::uint64_t kept = sent - recent.size();
    const std::uint64_t from = std::clamp(first, kept, sent) - kept;
    return {recent.begin() + static_cast<std::ptrdiff_t>(from), recent.end()};
}

void Hall::create(ConnectionId from, Visitor& v, const protocol::CreateTable& c, Out& out) {
    if (!v.table.empty()) return refuse(from, Reason::Order, out);
    Room room;
    room.id = "t" + std::to_string(nextTable_++);
    room.code = c.code;
    room.creator = v.token;
    room.timeLimit = c.timeLimit;
    v.name = c.name;
    v.table = room.id;
    v.spectator = false;
    const std::string id = room.id;
    announce(rooms_.emplace(id, std::move(room)).first->second, "Mesa creada", out);
}

void Hall::join(ConnectionId from, Visitor& v, const protocol::Join& j, Out& out) {
    if (!v.table.empty()) return refuse(from, Reason::Order, out);
    auto found = rooms_.find(j.table);
    if (found == rooms_.end()) return refuse(from, Reason::NoTable, out);
    Room& room = found->second;
    if (!room.code.empty() && room.code != j.code) return refuse(from, Reason::Code, out);
    if (room.game && !j.spectator) return refuse(from, Reason::Started, out);
    v.name = j.name;
    v.table = room.id;
    v.spectator = j.spectator;
    announce(room, v.name + (j.spectator ? " mira la mesa" : " se ha unido a la mesa"), out);
    tellTurn(room, v, from, out);
}

void Hall::lobby(ConnectionId from, Visitor& v, const protocol::ClientMessage& m, Out& out) {
    auto found = rooms_.find(v.table);
    if (found == rooms_.end()) return refuse(from, Reason::Order, out);
    Room& room = found->second;
    if (v.spectator) return refuse(from, Reason::NotAllowed, out);
    if (room.game) return refuse(from, Reason::Started, out);
    std::string event;
    if (const auto* claim = std::get_if<protocol::Claim>(&m)) {
        std::string& owner = room.owner[claim->character];
        if (!owner.empty() && owner != v.token) return refuse(from, Reason::Taken, out);
        owner = v.token;
        event = v.name + " juega con " +
                (room.names[claim->character].empty() ? rosterNames_[claim->character]
                                                      : room.names[claim->character]);
    } else if (const auto* release = std::get_if<protocol::Release>(&m)) {
        if (room.owner[release->character] != v.token) return refuse(from, Reason::NotYours, out);
        room.owner[release->character].clear();
        event = v.name + " deja un personaje";
    } else if (const auto* rename = std::get_if<protocol::Rename>(&m)) {
        if (room.owner[rename->character] != v.token) return refuse(from, Reason::NotYours, out);
        room.names[rename->character] = rename->name;
        event = v.name + " cambia el nombre de un personaje a " + rename->name;
    }
    announce(room, event, out);
}

void Hall::start(Room& room, Instant now, Out& out) {
    TableSetup setup;
    setup.seed = seeds_();
    setup.names = room.names;
    for (int c = 1; c <= 10; ++c) {
        if (room.owner[c].empty()) continue;
        auto seat = std::find(room.seatTokens.begin(), room.seatTokens.end(), room.owner[c]);
        if (seat == room.seatTokens.end()) {
            room.seatTokens.push_back(room.owner[c]);
            setup.seats.emplace_back();
            seat = room.seatTokens.end() - 1;
        }
        setup.seats[static_cast<std::size_t>(seat - room.seatTokens.begin())].set(
            static_cast<std::size_t>(c));
    }
    room.game = std::make_unique<OnlineTable>(setup);
    for (const std::string& token : room.seatTokens) room.streams[token];
    if (store_) {
        std::vector<SeatHolder> holders;
        for (const std::string& token : room.seatTokens) {
            const auto holder = std::find_if(visitors_.begin(), visitors_.end(),
                                             [&](const auto& v) { return v.second.token == token; });
            holders.push_back({token, holder == visitors_.end() ? room.players[token] : holder->second.name});
        }
        store_->addTable(room.id, setup, holders, room.timeLimit);
    }
    announce(room, "La partida empieza", out);
    deliver(room, now, out);
}

void Hall::key(ConnectionId from, Visitor& v, const protocol::GameKey& k, Instant now, Out& out) {
    auto found = rooms_.find(v.table);
    if (found == rooms_.end() || !found->second.game) return refuse(from, Reason::Order, out);
    Room& room = found->second;
    const auto seat = std::find(room.seatTokens.begin(), room.seatTokens.end(), v.token);
    if (v.spectator || seat == room.seatTokens.end()) return refuse(from, Reason::NotAllowed, out);
    if (auto r =
            room.game->press(static_cast<std::size_t>(seat - room.seatTokens.begin()), k.key, k.character))
        return refuse(from, *r, out);
    deliver(room, now, out);
}

// The seat's characters: back to the lobby before the start, to the computer once playing.
void Hall::handOver(Room& room, const std::string& token) {
    for (int c = 1; c <= 10; ++c) {
        if (room.owner[c] != token) continue;
        if (room.game)
            room.game->handToComputer(c);
        else
            room.owner[c].clear();
    }
}

void Hall::leave(Visitor& v, Instant now, Out& out) {
    auto found = rooms_.find(v.table);
    if (found == rooms_.end()) return;
    Room& room = found->second;
    if (!v.spectator) handOver(room, v.token);
    if (auto stream = room.streams.find(v.token); stream != room.streams.end()) stream->second.left = true;
    v.table.clear();
    if (room.game) deliver(room, now, out);
    announce(room, v.name + " ha dejado la mesa", out);
    closeIfDeserted(room.id);
}

// A table nobody is at, nobody may still come back to, and whose game, if any, has nothing left
// for a player: taken off the hall's list (its journal stays in the store).
void Hall::closeIfDeserted(const std::string& id) {
    auto found = rooms_.find(id);
    if (found == rooms_.end()) return;
    const Room& room = found->second;
    if (!present(room).empty() || !room.away.empty()) return;
    const bool everyoneLeft = std::all_of(room.streams.begin(), room.streams.end(),
                                          [](const auto& stream) { return stream.second.left; });
    if (room.game && !Over(*room.game, room.turn) && !everyoneLeft) return;
    rooms_.erase(found);
}

std::vector<Outgoing> Hall::drop(ConnectionId gone, Instant now) {
    Out out;
    auto found = visitors_.find(gone);
    if (found == visitors_.end()) return out;
    const Visitor v = found->second;
    visitors_.erase(found);
    auto room = rooms_.find(v.table);
    if (room == rooms_.end()) return out;
    if (v.spectator) {
        closeIfDeserted(v.table);
        return out;
    }
    Room& r = room->second;
    r.away[v.token] = now;
    r.players[v.token] = v.name;
    if (!r.game) {
        announce(r, v.name + " ha perdido la conexión", out);
        return out;
    }
    Stream& stream = r.streams[v.token];
    stream.awayFrom = stream.sent;
    return out;
}

void Hall::deliver(Room& room, Instant now, Out& out) {
    const Present here = present(room);
    for (std::size_t reader = 0; reader <= room.seatTokens.size(); ++reader) {
        const std::vector<std::string> lines = room.game->take(reader);
        const bool seat = reader < room.seatTokens.size();
        const std::string token = seat ? room.seatTokens[reader] : std::string();
        const std::vector<ConnectionId> connections = at(room, here, token);
        for (const std::string& line : lines) {
            auto message = protocol::GameMessage(line);
            if (!message) continue;
            for (const ConnectionId to : connections) out.push_back({to, *message});
            // Kept for the seat's history, should it come back without having received it.
            if (seat) room.streams[token].add(std::move(*message));
        }
    }
    if (store_) store_->keep(room.id, room.game->journal());
    const auto asked = room.game->asked();
    if (asked != room.asked) room.askedSince = now;
    room.asked = asked;
    auto turn = room.game->turn();
    if (turn == room.turn) return;
    room.turn = std::move(turn);
    for (const auto& [id, v] : here) tellTurn(room, *v, id, out);
}

std::vector<Outgoing> Hall::tick(Instant now) {
    Out out;
    std::vector<std::string> waitedFor;
    for (auto& [id, room] : rooms_) {
        for (auto away = room.away.begin(); away != room.away.end();) {
            if (now - away->second < Grace) {
                ++away;
                continue;
            }
            handOver(room, away->first);
            const std::string name = room.players[away->first];
            away = room.away.erase(away);
            waitedFor.push_back(id);
            if (room.game)
                deliver(room, now, out);
            else
                announce(room, name + " ha dejado la mesa", out);
        }
        if (!room.game) continue;
        if (room.timeLimit == 0 || !room.asked ||
            now - room.askedSince < std::chrono::seconds(room.timeLimit))
            continue;
        room.game->timeOut();
        deliver(room, now, out);
    }
    for (const std::string& id : waitedFor) closeIfDeserted(id);
    return out;
}

}  // namespace veldrisa
