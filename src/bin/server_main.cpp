// veldrisa-server: the online tables, over WebSocket and TLS.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "server/certificate.hpp"
#include "server/network.hpp"

namespace {

constexpr const char* Usage =
    "usage: veldrisa-server [--address IP] [--port N] [--cert FILE --key FILE] [--data DIR] [--seed N]\n"
    "  --seed N  the first table's game is dealt with seed N, the next ones with N+1, N+2... in the\n"
    "            order they start (for tests); without it every game's seed is drawn at random";

struct Arguments {
    veldrisa::ServerOptions options;
    std::string data = ".";  // where the journals and a self-signed certificate are kept
};

std::optional<Arguments> Parse(const std::vector<std::string>& args) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& value = args[++i];
        if (a == "--address") {
            parsed.options.address = value;
        } else if (a == "--port") {
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed.options.port);
            if (ec != std::errc{} || end != value.data() + value.size()) return std::nullopt;
        } else if (a == "--cert") {
            parsed.options.certPath = value;
        } else if (a == "--key") {
            parsed.options.keyPath = value;
        } else if (a == "--seed") {
            std::uint32_t seed = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (ec != std::errc{} || end != value.data() + value.size()) return std::nullopt;
            parsed.options.seed = seed;
        } else if (a == "--data") {
            parsed.data = value;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.options.certPath.empty() != parsed.options.keyPath.empty()) return std::nullopt;
    return parsed;
}

}  // namespace

int main(int argc, char** argv) {
    auto arguments = Parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) {
        std::cerr << Usage << std::endl;
        return 2;
    }
    veldrisa::ServerOptions& options = arguments->options;
    options.journalPath = (std::filesystem::path(arguments->data) / "veldrisa-partidas.sqlite").string();
    if (options.certPath.empty()) {
        const std::filesystem::path data(arguments->data);
        options.certPath = (data / "veldrisa-server.crt").string();
        options.keyPath = (data / "veldrisa-server.key").string();
        try {
            veldrisa::EnsureSelfSigned(options.certPath, options.keyPath);
        } catch (const veldrisa::CertificateError& e) {
            std::cerr << "veldrisa-server: " << e.what() << std::endl;
            return 1;
        }
    }
    return veldrisa::Serve(options);
}
