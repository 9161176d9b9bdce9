// The server on the network: WebSocket over TLS, one connection per client, the hall behind them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veldrisa {

struct ServerOptions {
    std::string address = "127.0.0.1";
    std::uint16_t port = 7531;
    std::string certPath, keyPath;
    std::string journalPath;  // the SQLite file of the tables' journals
    // The first game's seed, the next ones counting up from it, so that a test knows them;
    // none: each game's seed drawn at random.
    std::optional<std::uint32_t> seed;
};

// Serves until SIGTERM or SIGINT, which close every connection with a goodbye; returns the exit
// status. Problems at start are said on standard error in plain words.
int Serve(const ServerOptions& options);

}  // namespace veldrisa
