// The replay tool's input, one numbered line at a time, blank and comment lines passed over.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>

#include "replay/input.hpp"

namespace veldrisa {

struct NumberedLine {
    std::uint64_t number;  // counted from 1, every line of the input included
    InputLine parsed;
};

class LineReader {
public:
    // `before` lines are taken as already read, so that the count's far end can be reached
    // without feeding billions of lines.
    explicit LineReader(std::istream& in, std::uint64_t before = 0) : in_(in), number_(before) {}

    // The next line that is not blank or a comment.
    std::optional<NumberedLine> next();

private:
    std::istream& in_;
    std::uint64_t number_;
};

}  // namespace veldrisa
