// The seeds of the games: fixed numbers in a row, or the real clock.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class FixedClock : public Clock {
public:
    // With a first seed N the k-th seeding gets (N + k - 1) mod 2^32; without one,
    // each seeding reads the real clock.
    FixedClock(Recorder& recorder, std::optional<std::uint32_t> first)
        : recorder_(recorder), next_(first) {}

    std::uint32_t seed() override;

private:
    Recorder& recorder_;
    std::optional<std::uint32_t> next_;
};

}  // namespace veldrisa
