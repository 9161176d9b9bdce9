// The replay tool's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "audience/seat_filter.hpp"
#include "platform/recording/platform.hpp"

namespace veldrisa {

inline constexpr const char* ReplayUsage =
    "usage: veldrisa-replay [--seed N] [--voice DESC]... [--no-voices] [--seat 3,7 | --spectator]";

struct Arguments {
    RecordingOptions options;
    bool help = false;  // --help: the usage is all that is asked for
    // --seat, --spectator: only what that seat of an online table receives is written.
    std::optional<Seat> seat;
};

// The arguments after the program's name; nothing when they are not understood, with the
// offending option named in problem.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& problem);

}  // namespace veldrisa
