// A peak limiter for the final mix, so that speech and room sounds together never clip.
#pragma once

#include <cstdint>

namespace veldrisa {

// Everything reaches the mixer at a reduced level (headroom), so that adding speech and room
// sounds does not saturate; the limiter brings the sum back up by `makeup` and, where that
// would pass `ceiling` (a fraction of full scale), lowers the gain at once, then lets it recover
// over `releaseSeconds`. Samples are signed 16-bit, interleaved.
class PeakLimiter {
public:
    PeakLimiter(double makeup, double ceiling, double releaseSeconds, int frequency);

    void Process(std::int16_t* samples, int frames, int channels);
    // The gain applied to the latest frame, makeup included.
    double gain() const { return makeup_ * reduction_; }

private:
    double makeup_;
    double ceilingLevel_;  // in sample units
    double recovery_;      // share of the way back to no reduction taken at each frame
    double reduction_ = 1.0;
};

}  // namespace veldrisa
