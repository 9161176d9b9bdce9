// veldrisa-bot: a player of the online tables that plays one seat by itself, or a load of full tables.
#include <boost/asio/io_context.hpp>
#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bot/load.hpp"
#include "bot/seat.hpp"

namespace {

using veldrisa::bot::BotConfig;

constexpr const char* Usage =
    "usage: veldrisa-bot --server HOST:PORT [options] (--create | --join TABLE | --watch TABLE)\n"
    "       veldrisa-bot --server HOST:PORT --load TABLES [--pace human|fast] [--duration SECONDS]\n"
    "  --create            creates a table (its identifier is written as \"mesa ID\") and starts it\n"
    "                      once --players characters have players (default 1) and\n"
    "                      --spectators spectators watch (default 0)\n"
    "  --private CODE      the created table is private, with that code; with --join, its code\n"
    "  --time-limit S      the created table's time for a choice: 0 (none), 30, 60 or 120\n"
    "  --join TABLE        sits at a table as a player     --watch TABLE  watches it\n"
    "  --characters N      how many characters it claims (default 1)\n"
    "  --prefer C          the character it claims first, the next free ones after it (default 1)\n"
    "  --name NAME         the player's name (default Bot)\n"
    "  --pace human|fast|MS  a random 0.8 to 2.5 s before each key, none, or MS milliseconds\n"
    "                      (default fast)\n"
    "  --seed N            its choices' seed: the same seed, the same choices (default 1)\n"
    "  --record FILE       writes each game message it receives (and its history's) as a JSON line\n"
    "  --fingerprint HEX   accepts only the server certificate with that SHA-256 fingerprint;\n"
    "                      without it, a server on this machine is accepted with any certificate,\n"
    "                      any other needs one the system trusts\n"
    "  --cut-at LIST       cuts its connection once at each of room, card, target (before\n"
    "                      answering) and night (once it sent the Space that starts it), and\n"
    "                      comes back with its token (for tests)\n"
    "  --load TABLES       TABLES tables of ten bots each, one process; prints one JSON line\n"
    "  --duration SECONDS  with --load: deals new games until then (default: one game each)";

struct Arguments {
    std::string host;
    std::uint16_t port = 0;
    BotConfig config;
    veldrisa::bot::Pace pace = veldrisa::bot::Fast;
    std::uint32_t seed = 1;
    std::string record, fingerprint;
    std::set<std::string> cutAt;
    std::optional<int> load, duration;
    bool role = false;
};

template <typename N>
bool Number(const std::string& text, N& n) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc{} && end == text.data() + text.size();
}

bool Server(const std::string& value, Arguments& a) {
    const auto colon = value.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    a.host = value.substr(0, colon);
    if (a.host.size() > 2 && a.host.front() == '[' && a.host.back() == ']')
        a.host = a.host.substr(1, a.host.size() - 2);
    return Number(value.substr(colon + 1), a.port);
}

bool CutAt(const std::string& value, std::set<std::string>& kinds) {
    for (std::size_t start = 0; start <= value.size();) {
        const std::size_t end = std::min(value.find(',', start), value.size());
        const std::string kind = value.substr(start, end - start);
        if (kind != "room" && kind != "card" && kind != "target" && kind != "night") return false;
        kinds.insert(kind);
        start = end + 1;
    }
    return true;
}

bool Pace(const std::string& v, veldrisa::bot::Pace& pace) {
    if (v == "human" || v == "fast") {
        pace = v == "human" ? veldrisa::bot::Human : veldrisa::bot::Fast;
        return true;
    }
    int ms = 0;
    if (!Number(v, ms) || ms < 0) return false;
    pace = {ms, ms};
    return true;
}

bool Role(Arguments& a, BotConfig::Role role, const std::string& table = {}) {
    if (a.role) return false;
    a.role = true;
    a.config.role = role;
    a.config.table = table;
    return true;
}

// One option with its value; false when either is wrong.
bool Option(const std::string& o, const std::string& v, Arguments& a) {
    BotConfig& c = a.config;
    if (o == "--server") return Server(v, a);
    if (o == "--join") return Role(a, BotConfig::Role::Join, v);
    if (o == "--watch") return Role(a, BotConfig::Role::Watch, v);
    if (o == "--private") return !(c.code = v).empty();
    if (o == "--time-limit") return Number(v, c.timeLimit);
    if (o == "--players") return Number(v, c.startAt) && c.startAt >= 1 && c.startAt <= 10;
    if (o == "--spectators") return Number(v, c.watchers) && c.watchers >= 0;
    if (o == "--characters") return Number(v, c.characters) && c.characters >= 1 && c.characters <= 10;
    if (o == "--prefer") return Number(v, c.prefer) && c.prefer >= 1 && c.prefer <= 10;
    if (o == "--name") return !(c.name = v).empty();
    if (o == "--pace") return Pace(v, a.pace);
    if (o == "--seed") return Number(v, a.seed);
    if (o == "--record") return !(a.record = v).empty();
    if (o == "--fingerprint") return !(a.fingerprint = v).empty();
    if (o == "--cut-at") return CutAt(v, a.cutAt);
    if (o == "--load") return Number(v, a.load.emplace()) && *a.load >= 1;
    if (o == "--duration") return Number(v, a.duration.emplace()) && *a.duration >= 1;
    return false;
}

std::optional<Arguments> Parse(const std::vector<std::string>& args) {
    Arguments a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--create") {
            if (!Role(a, BotConfig::Role::Create)) return std::nullopt;
            continue;
        }
        if (i + 1 >= args.size() || !Option(args[i], args[i + 1], a)) return std::nullopt;
        ++i;
    }
    if (a.host.empty() || a.load.has_value() == a.role || (a.duration && !a.load)) return std::nullopt;
    return a;
}

veldrisa::net::ClientOptions Trust(const Arguments& a) {
    veldrisa::net::ClientOptions options;
    if (!a.fingerprint.empty()) {
        options.trust = veldrisa::net::Trust::Pinned;
        options.fingerprint = a.fingerprint;
    } else if (a.host == "127.0.0.1" || a.host == "::1" || a.host == "localhost") {
        options.trust = veldrisa::net::Trust::Any;
    }
    return options;
}

int PlayOneSeat(const Arguments& a) {
    std::ofstream record;
    if (!a.record.empty()) {
        record.open(a.record);
        if (!record) {
            std::cerr << "veldrisa-bot: no se puede escribir en " << a.record << std::endl;
            return 1;
        }
    }
    boost::asio::io_context io;
    boost::asio::ssl::context tls = veldrisa::net::MakeClientTls();
    veldrisa::bot::Stats stats;
    veldrisa::bot::SeatOptions options{
        a.host, a.port, Trust(a), a.pace, a.seed, a.cutAt, a.record.empty() ? nullptr : &record, &std::cerr};
    auto seat = std::make_shared<veldrisa::bot::BotSeat>(io, tls, options, a.config, stats);
    bool finished = false;
    seat->onTable = [](const std::string& table) { std::cout << "mesa " << table << std::endl; };
    seat->onDone = [&finished](bool f) { finished = f; };
    seat->start();
    io.run();
    if (!finished) std::cerr << "veldrisa-bot: la partida no ha llegado a su fin" << std::endl;
    return finished ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto a = Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!a) {
        std::cerr << Usage << std::endl;
        return 2;
    }
    if (!a->load) return PlayOneSeat(*a);
    veldrisa::bot::LoadOptions load{a->host, a->port, Trust(*a), a->pace, *a->load, a->duration, a->seed};
    return veldrisa::bot::RunLoad(load, std::cout, std::cerr);
}
