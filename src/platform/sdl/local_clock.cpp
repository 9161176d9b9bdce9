// Reading the local time of day for the game's seed.
#include "platform/sdl/local_clock.hpp"

#include <ctime>

namespace veldrisa {

std::uint32_t LocalClock::seed() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    std::uint64_t seconds = static_cast<std::uint64_t>(local.tm_hour) * 3600 +
                            static_cast<std::uint64_t>(local.tm_min) * 60 +
                            static_cast<std::uint64_t>(local.tm_sec);
    return static_cast<std::uint32_t>(seconds * 1000000 + static_cast<std::uint64_t>(now.tv_nsec / 1000));
}

}  // namespace veldrisa
