// The fixed clock.
#include "platform/recording/clock.hpp"

#include <chrono>

namespace veldrisa {

std::uint32_t FixedClock::seed() {
    std::uint32_t s;
    if (next_) {
        s = (*next_)++;  // unsigned wrap-around is the mod 2^32 wanted
    } else {
        // Sub-second resolution so that two runs in the same second still differ.
        auto now = std::chrono::system_clock::now().time_since_epoch();
        s = static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    }
    recorder_.record(Event(EventKind::Seeded, {}, s));
    return s;
}

}  // namespace veldrisa
