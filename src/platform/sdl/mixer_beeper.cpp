// The refusal beep: a sine tone built in memory as a WAV file and handed to the mixer.
#include "platform/sdl/mixer_beeper.hpp"

#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

namespace veldrisa {
namespace {

constexpr int ToneRate = 22050;
constexpr int FadeMs = 8;  // ramps at both ends, or the tone starts and stops with a click
constexpr double Amplitude = 0.35 * 32767;

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A mono 16-bit WAV file; the mixer converts it to the device's format when loading it.
std::vector<std::uint8_t> ToneWav() {
    const int samples = ToneRate * MixerBeeper::DurationMs / 1000;
    const int fade = ToneRate * FadeMs / 1000;
    const auto dataBytes = static_cast<std::uint32_t>(samples * 2);
    std::vector<std::uint8_t> wav;
    for (char c : std::string_view("RIFF")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, 36 + dataBytes, 4);
    for (char c : std::string_view("WAVEfmt ")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, 16, 4);             // format chunk size
    PutLe(wav, 1, 2);              // PCM
    PutLe(wav, 1, 2);              // mono
    PutLe(wav, ToneRate, 4);       // sample rate
    PutLe(wav, ToneRate * 2, 4);   // bytes per second
    PutLe(wav, 2, 2);              // bytes per frame
    PutLe(wav, 16, 2);             // bits per sample
    for (char c : std::string_view("data")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, dataBytes, 4);
    for (int i = 0; i < samples; ++i) {
        double envelope = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
        double value = Amplitude * envelope * std::sin(2 * std::numbers::pi * MixerBeeper::FrequencyHz * i / ToneRate);
        PutLe(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
    }
    return wav;
}

}  // namespace

MixerBeeper::MixerBeeper(AudioOutput& audio) {
    if (!audio.open()) return;
    std::vector<std::uint8_t> wav = ToneWav();
    chunk_ = Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1);
}

MixerBeeper::~MixerBeeper() {
    if (chunk_) {
        Mix_HaltChannel(AudioOutput::BeepChannel);
        Mix_FreeChunk(chunk_);
    }
}

void MixerBeeper::beep() {
    if (chunk_) Mix_PlayChannel(AudioOutput::BeepChannel, chunk_, 0);
}

}  // namespace veldrisa
