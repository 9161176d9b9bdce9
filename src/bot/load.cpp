// Each table created by one bot and filled by nine more, all of them playing at once.
#include "bot/load.hpp"

#include <algorithm>
#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

namespace veldrisa::bot {
namespace {

constexpr int PlayersPerTable = 10;

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    return sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1))];
}

std::string Report(const Stats& stats, int tables, int games, int days) {
    std::vector<double> latency = stats.latencyMs;
    std::sort(latency.begin(), latency.end());
    const auto ms = [](double v) { return static_cast<double>(static_cast<long long>(v * 100 + 0.5)) / 100; };
    nlohmann::ordered_json report{{"connections", stats.connections},
                                  {"tables", tables},
                                  {"games_finished", games},
                                  {"days", days},
                                  {"keys", stats.keys},
                                  {"errors", stats.errors}};
    report["latency_ms"] = {{"p50", ms(Percentile(latency, 0.50))},
                            {"p95", ms(Percentile(latency, 0.95))},
                            {"p99", ms(Percentile(latency, 0.99))},
                            {"max", ms(latency.empty() ? 0 : latency.back())}};
    return report.dump();
}

}  // namespace

int RunLoad(const LoadOptions& options, std::ostream& out, std::ostream& err) {
    boost::asio::io_context io;
    boost::asio::ssl::context tls = net::MakeClientTls();
    Stats stats;
    std::vector<std::shared_ptr<BotSeat>> creators, seats;
    int failed = 0;
    const bool endless = options.durationSeconds.has_value();
    auto seat = [&](BotConfig config, std::uint32_t seed) {
        SeatOptions s{options.host, options.port, options.client, options.pace, seed, {}, nullptr, &err};
        auto bot = std::make_shared<BotSeat>(io, tls, std::move(s), std::move(config), stats);
        bot->onDone = [&failed](bool finished) { failed += !finished; };
        seats.push_back(bot);
        return bot;
    };
    for (int t = 0; t < options.tables; ++t) {
        const std::uint32_t seed = options.seed + static_cast<std::uint32_t>(t * PlayersPerTable);
        BotConfig creator;
        creator.name = "Bot " + std::to_string(t + 1);
        creator.startAt = PlayersPerTable;
        creator.newGames = endless;
        auto bot = seat(creator, seed);
        bot->onTable = [&, t, seed](const std::string& table) {
            for (int i = 1; i < PlayersPerTable; ++i) {
                BotConfig joiner;
                joiner.role = BotConfig::Role::Join;
                joiner.name = "Bot " + std::to_string(t + 1) + "." + std::to_string(i);
                joiner.table = table;
                joiner.prefer = i + 1;
                joiner.newGames = endless;
                seat(joiner, seed + static_cast<std::uint32_t>(i))->start();
            }
        };
        creators.push_back(bot);
        bot->start();
    }
    boost::asio::steady_timer deadline(io);
    if (endless) {
        deadline.expires_after(std::chrono::seconds(*options.durationSeconds));
        deadline.async_wait([&](boost::system::error_code ec) {
            if (ec) return;
            for (auto& bot : seats) bot->stop();
        });
    }
    io.run();
    int games = 0, days = 0;
    for (const auto& c : creators) {
        games += c->player().gamesFinished();
        days += c->player().days();
    }
    out << Report(stats, options.tables, games, days) << std::endl;
    return failed == 0 ? 0 : 1;
}

}  // namespace veldrisa::bot
