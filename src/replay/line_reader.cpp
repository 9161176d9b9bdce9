// Reading and numbering the replay tool's input lines.
#include "replay/line_reader.hpp"

#include <string>
#include <utility>

namespace veldrisa {

std::optional<NumberedLine> LineReader::next() {
    std::string raw;
    while (std::getline(in_, raw)) {
        ++number_;
        InputLine parsed = ParseLine(raw);
        if (parsed.kind != InputLine::Kind::Skip) return NumberedLine{number_, std::move(parsed)};
    }
    return std::nullopt;
}

}  // namespace veldrisa
