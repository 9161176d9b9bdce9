// veldrisa-server: the online tables, over WebSocket and TLS.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "server/certificate.hpp"
#include "server/config.hpp"
#include "server/network.hpp"
#include "server/web_files.hpp"

namespace {

constexpr const char* Usage =
    "usage: veldrisa-server [--config FILE] [--address IP] [--port N] [--cert FILE --key FILE] [--data DIR]\n"
    "                       [--seed N] [--web DIR] [--sounds DIR]\n"
    "  --seed N  the first table's game is dealt with seed N, the next ones with N+1, N+2... in the\n"
    "            order they start (for tests); without it every game's seed is drawn at random\n"
    "  --web DIR     the web page's folder (default: the one beside this program)\n"
    "  --sounds DIR  the room sounds' folder (default: this program's own)";

struct Arguments {
    veldrisa::ServerOptions options;
    std::string data = ".";  // where the journals and a self-signed certificate are kept
};

// The settings of the file --config names: the defaults that the command line overrides.
Arguments FromConfigFile(const std::vector<std::string>& args) {
    Arguments base;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] != "--config") continue;
        const veldrisa::ServerSettings file = veldrisa::ReadServerConfig(args[i + 1]);
        base.options.address = file.address.value_or(base.options.address);
        base.options.port = file.port.value_or(base.options.port);
        base.options.certPath = file.cert.value_or(base.options.certPath);
        base.options.keyPath = file.key.value_or(base.options.keyPath);
        base.data = file.data.value_or(base.data);
    }
    return base;
}

std::optional<Arguments> Parse(const std::vector<std::string>& args, Arguments parsed) {
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
        } else if (a == "--config") {
            // Read first, by FromConfigFile.
        } else if (a == "--web") {
            parsed.options.webPath = value;
        } else if (a == "--sounds") {
            parsed.options.soundsPath = value;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.options.certPath.empty() != parsed.options.keyPath.empty()) return std::nullopt;
    return parsed;
}

// The web page and the room sounds default to the folder the server's binary is in, where the
// build puts them, as the local game finds its sounds beside itself, or to an installed server's.
void FillWebFolders(veldrisa::ServerOptions& options) {
    std::error_code ec;
    const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    if (options.webPath.empty()) options.webPath = veldrisa::DefaultWebFolder(binary).string();
    if (options.soundsPath.empty()) options.soundsPath = veldrisa::DefaultSoundsFolder(binary).string();
    if (options.webPath.empty())
        std::cerr << "veldrisa-server: no se encuentra la carpeta de la página web; úsese --web CARPETA"
                  << std::endl;
    if (options.soundsPath.empty())
        std::cerr << "veldrisa-server: no se encuentran los sonidos de las salas; úsese --sounds CARPETA"
                  << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<Arguments> arguments;
    try {
        arguments = Parse(args, FromConfigFile(args));
    } catch (const veldrisa::ServerConfigError& e) {
        std::cerr << "veldrisa-server: " << e.what() << std::endl;
        return 2;
    }
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
    FillWebFolders(options);
    return veldrisa::Serve(options);
}
