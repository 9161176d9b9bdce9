// The Clock port on Windows: the local time of day.
#pragma once

#include "ports/platform.hpp"

namespace veldrisa {

class LocalClock : public Clock {
public:
    // Microseconds since local midnight, wrapped to 32 bits, as on Linux.
    std::uint32_t seed() override;
};

}  // namespace veldrisa
