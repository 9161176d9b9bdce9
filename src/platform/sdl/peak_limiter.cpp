// The final mix's limiter: instant attack, exponential release.
#include "platform/sdl/peak_limiter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace veldrisa {

PeakLimiter::PeakLimiter(double makeup, double ceiling, double releaseSeconds, int frequency)
    : makeup_(makeup),
      ceilingLevel_(ceiling * 32767.0),
      recovery_(1.0 - std::exp(-1.0 / (releaseSeconds * std::max(1, frequency)))) {}

void PeakLimiter::Process(std::int16_t* samples, int frames, int channels) {
    for (int f = 0; f < frames; ++f) {
        std::int16_t* frame = samples + static_cast<std::ptrdiff_t>(f) * channels;
        int peak = 0;
        for (int c = 0; c < channels; ++c) peak = std::max(peak, std::abs(int(frame[c])));
        reduction_ += (1.0 - reduction_) * recovery_;
        const double level = peak * makeup_;
        // Lowering the gain at once, on the frame that would pass the ceiling, is what
        // guarantees that no frame does.
        if (level * reduction_ > ceilingLevel_) reduction_ = ceilingLevel_ / level;
        const double g = makeup_ * reduction_;
        for (int c = 0; c < channels; ++c) frame[c] = static_cast<std::int16_t>(std::lround(frame[c] * g));
    }
}

}  // namespace veldrisa
