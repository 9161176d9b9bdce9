// The espeak-ng program speaking the same messages to its standard output, and what it says of our first buffers.
#pragma once

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "speech.hpp"

namespace veldrisa::bench {

struct PeerFigures {
    std::vector<double> firstByteMs;  // start of the program to its first byte of audio, per distinct text
    int compared = 0;                 // openings checked against its audio
    int clipped = 0;                  // of them, those that do not line up with its start
    std::vector<double> clippedPerOpening;  // 1 for each of those, 0 for the others
    std::vector<std::string> clippedTexts;
};

// Runs `espeak-ng -v es --punct --stdout TEXT` once per distinct text that the engine spoke in
// its default voice and rate, with the text exactly as the engine handed it to espeak-ng.
// The opening of each of those messages must line up with the start of the program's audio:
// a lost start would shift it.
PeerFigures MeasurePeer(const std::vector<Opening>& openings, int frequency, SDL_AudioFormat format, int channels);

}  // namespace veldrisa::bench
