// Figures of the latest message the espeak-ng engine was given, taken through its probe.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/sdl/speech_probe.hpp"

namespace veldrisa {

class SpeechMeter : public SpeechProbe {
public:
    struct Figures {
        std::uint64_t synthesizedSamples = 0;                      // at espeak-ng's own rate, mono
        int peak = 0;                                              // largest absolute sample synthesized
        std::uint64_t deliveredFrames = 0;                         // frames handed to the device
        int deliveredPeak = 0;                                     // largest absolute sample handed over
        std::optional<std::chrono::microseconds> firstSoundAfter;  // from speak() to the device
        bool synthesisFinished = false;
    };

    Figures latest() const {
        std::lock_guard lock(mutex_);
        return figures_;
    }

    void begun(std::uint64_t) override {
        std::lock_guard lock(mutex_);
        figures_ = {};
        begunAt_ = std::chrono::steady_clock::now();
    }
    void synthesized(const short* samples, int count) override {
        std::lock_guard lock(mutex_);
        figures_.synthesizedSamples += static_cast<std::uint64_t>(count);
        for (int i = 0; i < count; ++i) figures_.peak = std::max(figures_.peak, std::abs(int(samples[i])));
    }
    void finished() override {
        std::lock_guard lock(mutex_);
        figures_.synthesisFinished = true;
    }
    void delivered(const SpeechDelivery& d) override {
        if (d.delivered <= 0) return;
        std::lock_guard lock(mutex_);
        figures_.deliveredFrames += static_cast<std::uint64_t>(d.delivered / d.frameBytes);
        const auto* samples = reinterpret_cast<const std::int16_t*>(d.data);
        for (int i = 0; i < d.delivered / 2; ++i)
            figures_.deliveredPeak = std::max(figures_.deliveredPeak, std::abs(int(samples[i])));
        if (!figures_.firstSoundAfter)
            figures_.firstSoundAfter = std::chrono::duration_cast<std::chrono::microseconds>(d.at - begunAt_);
    }

private:
    mutable std::mutex mutex_;
    Figures figures_;
    std::chrono::steady_clock::time_point begunAt_;
};

}  // namespace veldrisa
