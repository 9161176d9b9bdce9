// The Clock port on every platform: the local time of day, read through the standard library.
#pragma once

#include "ports/platform.hpp"

namespace veldrisa {

class LocalClock : public Clock {
public:
    // Microseconds since local midnight, wrapped to 32 bits: two games started within the
    // same second still get different seeds.
    std::uint32_t seed() override;
};

}  // namespace veldrisa
