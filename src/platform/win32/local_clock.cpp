// Seeds from the local time of day, in microseconds.
#include "platform/win32/local_clock.hpp"

#include <windows.h>

namespace veldrisa {

std::uint32_t LocalClock::seed() {
    FILETIME utc, local;
    GetSystemTimePreciseAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    constexpr unsigned long long TicksPerDay = 864000000000ull;  // of 100 ns
    return static_cast<std::uint32_t>((ticks % TicksPerDay) / 10);
}

}  // namespace veldrisa
