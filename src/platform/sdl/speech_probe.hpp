// What the espeak-ng engine lets a measuring tool see of its speech, when one is attached.
#pragma once

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdint>

namespace veldrisa {

// One device callback as the speech hook answered it.
struct SpeechDelivery {
    std::chrono::steady_clock::time_point at;  // when the samples were handed to the device
    std::uint64_t generation = 0;              // messages begun so far, silences included
    const Uint8* data = nullptr;               // the device's buffer, `requested` bytes long
    int delivered = 0;                         // bytes of speech at its start, silence after
    int requested = 0;
    int frameBytes = 0;              // bytes of one device frame
    bool synthesisFinished = false;  // of the latest message
};

// The engine calls these inside its own lock, on its threads: each must be quick and must not
// call the engine. The benchmark and the tests attach one; the game never does.
class SpeechProbe {
public:
    virtual ~SpeechProbe() = default;
    // speak() or stop() has replaced whatever was sounding; a silence has no samples.
    virtual void begun(std::uint64_t generation) = 0;
    // espeak-ng made these samples of the latest message, at its own rate, mono.
    virtual void synthesized(const short* samples, int count) = 0;
    // The latest message is wholly synthesized.
    virtual void finished() = 0;
    // On the audio thread, after every device callback.
    virtual void delivered(const SpeechDelivery& delivery) = 0;
};

}  // namespace veldrisa
