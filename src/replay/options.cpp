// Parsing of the replay tool's command line.
#include "replay/options.hpp"

#include <charconv>
#include <cstdint>

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

std::optional<RecordingOptions> ParseArguments(const std::vector<std::string>& args) {
    RecordingOptions options;
    options.seed.reset();
    bool voicesGiven = false;
    bool noVoices = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--seed" && hasValue) {
            options.seed = Seed(args[++i]);
            if (!options.seed) return std::nullopt;
        } else if (a == "--voice" && hasValue) {
            if (!voicesGiven) options.voices.clear();
            voicesGiven = true;
            options.voices.push_back(args[++i]);
        } else if (a == "--no-voices") {
            noVoices = true;
        } else {
            return std::nullopt;
        }
    }
    if (noVoices) options.voices.clear();
    return options;
}

}  // namespace veldrisa
