// The server's configuration file: plain `key = value` lines, read once at start.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace veldrisa {

// Said in plain words, with the file and line at fault, before the server starts.
struct ServerConfigError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the file gives; what it leaves out keeps its default, and the command line overrides it.
struct ServerSettings {
    std::optional<std::string> address;
    std::optional<std::uint16_t> port;
    std::optional<std::string> cert, key;
    std::optional<std::string> data;  // the journals, and a self-signed certificate without cert and key
};

// A file's text: blank lines and lines starting with # are skipped, any other line is
// `key = value`, each key at most once. A # inside a value is part of it (paths may hold one).
// cert and key come together or not at all.
ServerSettings ParseServerConfig(std::string_view text);
// The file at `path`, its errors prefixed with its name.
ServerSettings ReadServerConfig(const std::string& path);

}  // namespace veldrisa
