// Reading the local time of day for the game's seed.
#include "platform/shared/local_clock.hpp"

#include <chrono>
#include <ctime>

namespace veldrisa {

std::uint32_t LocalClock::seed() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    // One thread reads the clock, so localtime's shared result is safe here.
    const std::tm local = *std::localtime(&whole);
    const auto micros = duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000;
    const std::uint64_t seconds = static_cast<std::uint64_t>(local.tm_hour) * 3600 +
                                  static_cast<std::uint64_t>(local.tm_min) * 60 +
                                  static_cast<std::uint64_t>(local.tm_sec);
    return static_cast<std::uint32_t>(seconds * 1000000 + static_cast<std::uint64_t>(micros));
}

}  // namespace veldrisa
