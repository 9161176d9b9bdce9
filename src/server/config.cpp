// The server's configuration file, line by line, every fault named with its line.
#include "server/config.hpp"

#include <arpa/inet.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace veldrisa {
namespace {

constexpr std::string_view Blank = " \t\r";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(Blank);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(Blank) - first + 1);
}

// 1 to 65535, digits only.
std::optional<std::uint16_t> ParsePort(std::string_view text) {
    std::uint16_t port = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc{} || end != text.data() + text.size() || port == 0) return std::nullopt;
    return port;
}

bool IsAddress(const std::string& text) {
    unsigned char bytes[sizeof(in6_addr)];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 || inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

// Refused before anything of the line is repeated back, so that what is said is printable.
void RefuseControlCharacters(std::string_view line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r') || byte == 0x7F)
            throw ServerConfigError("un carácter de control (código " + std::to_string(byte) + ")");
    }
}

void Set(ServerSettings& settings, std::string_view key, const std::string& value) {
    if (key == "address") {
        if (!IsAddress(value))
            throw ServerConfigError("«" + value + "» no es una dirección IP (como 127.0.0.1, 0.0.0.0 o ::)");
        settings.address = value;
    } else if (key == "port") {
        settings.port = ParsePort(value);
        if (!settings.port)
            throw ServerConfigError("el puerto es un número de 1 a 65535, no «" + value + "»");
    } else if (key == "cert") {
        settings.cert = value;
    } else if (key == "key") {
        settings.key = value;
    } else if (key == "data") {
        settings.data = value;
    } else {
        throw ServerConfigError("la clave «" + std::string(key) +
                                "» no existe; las claves son address, port, cert, key y data");
    }
}

// One `key = value` line into the settings; `seen` remembers the line of each key given.
void ParseLine(std::string_view line, int number, ServerSettings& settings,
               std::map<std::string, int>& seen) {
    RefuseControlCharacters(line);
    const auto equals = line.find('=');
    const std::string key(Trim(line.substr(0, equals)));
    if (equals == std::string_view::npos || key.empty())
        throw ServerConfigError("se esperaba «clave = valor», como «port = 7531»");
    const std::string value(Trim(line.substr(equals + 1)));
    if (value.empty()) throw ServerConfigError("«" + key + "» no tiene valor");
    if (auto earlier = seen.find(key); earlier != seen.end())
        throw ServerConfigError("«" + key + "» ya se dio en la línea " + std::to_string(earlier->second));
    Set(settings, key, value);
    seen.emplace(key, number);
}

}  // namespace

ServerSettings ParseServerConfig(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    ServerSettings settings;
    std::map<std::string, int> seen;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (const std::string_view content = Trim(line); content.empty() || content.front() == '#') continue;
        try {
            ParseLine(line, number, settings, seen);
        } catch (const ServerConfigError& e) {
            throw ServerConfigError("línea " + std::to_string(number) + ": " + e.what());
        }
    }
    if (settings.cert.has_value() != settings.key.has_value())
        throw ServerConfigError(settings.cert ? "falta «key», la clave privada del certificado «cert»"
                                              : "falta «cert», el certificado de la clave «key»");
    return settings;
}

ServerSettings ReadServerConfig(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw ServerConfigError(path + ": no existe");
    if (!std::filesystem::is_regular_file(path, ec)) throw ServerConfigError(path + ": no es un archivo");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ServerConfigError(path + ": no se puede leer (" + std::strerror(errno) + ")");
    // An empty file sets the failbit here; it is a file of defaults, not a fault.
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ParseServerConfig(text.str());
    } catch (const ServerConfigError& e) {
        throw ServerConfigError(path + ", " + e.what());
    }
}

}  // namespace veldrisa
