// The replay tool's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/recording/platform.hpp"

namespace veldrisa {

inline constexpr const char* ReplayUsage =
    "usage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices]";

struct Arguments {
    RecordingOptions options;
    bool help = false;  // --help: the usage is all that is asked for
};

// The arguments after the program's name; nothing when they are not understood, with the
// offending option named in problem.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& problem);

}  // namespace veldrisa
