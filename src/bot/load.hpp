// The bots' load: many full tables in one process, on one io_context, for the server's benchmark.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "bot/seat.hpp"

namespace veldrisa::bot {

struct LoadOptions {
    std::string host;
    std::uint16_t port = 0;
    net::ClientOptions client;
    Pace pace = Fast;
    int tables = 1;
    // Games are dealt again and again until then; without it each table plays one game.
    std::optional<int> durationSeconds;
    std::uint32_t seed = 1;
};

// Plays, then writes one JSON line of what was done and how fast the server answered; returns
// the exit status: 0 unless something failed.
int RunLoad(const LoadOptions& options, std::ostream& out, std::ostream& err);

}  // namespace veldrisa::bot
