// Parsing of the replay tool's command line.
#include "replay/options.hpp"

#include <charconv>
#include <cstdint>

#include "replay/quoted.hpp"

namespace veldrisa {
namespace {

std::optional<std::uint32_t> Seed(const std::string& text) {
    // from_chars would take a leading minus for a negative number; a seed is digits only.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    std::uint32_t n = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return n;
}

}  // namespace

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& problem) {
    Arguments parsed;
    RecordingOptions& options = parsed.options;
    options.seed.reset();
    bool voicesGiven = false;
    bool noVoices = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == "--seed" || a == "--voice" || a == "--seat") && !hasValue) {
            problem = a + " needs a value";
            return std::nullopt;
        }
        if (a == "--seed") {
            options.seed = Seed(args[++i]);
            if (!options.seed) {
                problem = "--seed needs a whole number from 0 to 4294967295, not " + Quoted(args[i]);
                return std::nullopt;
            }
        } else if (a == "--voice") {
            if (!voicesGiven) options.voices.clear();
            voicesGiven = true;
            options.voices.push_back(args[++i]);
        } else if (a == "--seat" || a == "--spectator") {
            if (parsed.seat) {
                problem = "one seat at a time: " + Quoted(a) + " after another seat";
                return std::nullopt;
            }
            parsed.seat = a == "--spectator" ? std::optional<Seat>(Seat{}) : ParseSeat(args[++i]);
            if (!parsed.seat) {
                problem =
                    "--seat needs distinct characters 1..10 separated by commas, not " + Quoted(args[i]);
                return std::nullopt;
            }
        } else if (a == "--no-voices") {
            noVoices = true;
        } else if (a == "--help") {
            parsed.help = true;
        } else {
            problem = "unknown option " + Quoted(a);
            return std::nullopt;
        }
    }
    if (noVoices) options.voices.clear();
    return parsed;
}

}  // namespace veldrisa
