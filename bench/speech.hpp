// The real espeak-ng engine speaking the game's messages into the real mixer path.
#pragma once

#include <SDL2/SDL.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "script.hpp"

namespace veldrisa {
class EspeakSpeechEngine;
}  // namespace veldrisa

namespace veldrisa::bench {

// The speech a message's first device buffers carried, to check that its start was not lost.
struct Opening {
    std::string text;
    int voice = 0;
    int rate = 0;
    std::vector<Uint8> bytes;  // in the device's format
};

// How much of each message's speech is kept as its opening, in device frames (about 93 ms).
constexpr int OpeningFrames = 4096;

struct SpeechFigures {
    std::vector<double> latencyMs;    // speak() to the first sample taken by the device, per message
    std::vector<double> interruptMs;  // speak() to the device's next request, when the old message was sounding
    std::vector<double> lastOldMs;    // speak() to the last buffer of the old message handed over (<= 0: before)
    // How far an interrupt went past the device period that held the old message's last
    // buffer; above zero only if that buffer was handed over after speak().
    double interruptPastPeriodMs = -INFINITY;
    std::vector<double> periodMs;     // between two device requests
    int messages = 0;                 // texts spoken and silences
    int silences = 0;                 // stops and empty texts
    int unheard = 0;                  // non-empty texts whose first sample never came
    int underruns = 0;                // requests during synthesis, after the first sample, not filled
    std::vector<double> underrunsPerMessage;
    int waitsForFirst = 0;            // requests between speak() and the first sample that found none ready
    std::vector<Opening> openings;
};

// Makes the game's calls on the engine one by one. Each message waits a random part of a
// device period (`periodUs` long), is handed over, and is heard for `holdMs` after its first sample before
// the next call cuts it off.
SpeechFigures MeasureSpeech(EspeakSpeechEngine& engine, const std::vector<EngineCall>& calls, int periodUs,
                            int holdMs);

}  // namespace veldrisa::bench
