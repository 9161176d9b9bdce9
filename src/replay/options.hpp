// The replay tool's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/recording/platform.hpp"

namespace veldrisa {

inline constexpr const char* ReplayUsage = "usage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices]";

// The arguments after the program's name; nothing when they are not understood.
std::optional<RecordingOptions> ParseArguments(const std::vector<std::string>& args);

}  // namespace veldrisa
