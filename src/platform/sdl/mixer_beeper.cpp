// The beeps: sine tones built in memory as WAV files and handed to the mixer.
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

struct Tone {
    int frequencyHz;  // 0 for a pause
    int durationMs;
};

// The refusal: one short tone.
constexpr Tone Refusal[] = {{MixerBeeper::FrequencyHz, MixerBeeper::DurationMs}};
// No voice to speak with: three tones falling by fifths, nothing like the refusal.
constexpr Tone NoVoice[] = {{880, 180}, {0, 70}, {587, 180}, {0, 70}, {392, 420}};

// A mono 16-bit WAV file of the tones; the mixer converts it to the device's format.
template <std::size_t N>
std::vector<std::uint8_t> TonesWav(const Tone (&tones)[N]) {
    int total = 0;
    for (const Tone& t : tones) total += ToneRate * t.durationMs / 1000;
    const auto dataBytes = static_cast<std::uint32_t>(total * 2);
    std::vector<std::uint8_t> wav;
    for (char c : std::string_view("RIFF")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, 36 + dataBytes, 4);
    for (char c : std::string_view("WAVEfmt ")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, 16, 4);            // format chunk size
    PutLe(wav, 1, 2);             // PCM
    PutLe(wav, 1, 2);             // mono
    PutLe(wav, ToneRate, 4);      // sample rate
    PutLe(wav, ToneRate * 2, 4);  // bytes per second
    PutLe(wav, 2, 2);             // bytes per frame
    PutLe(wav, 16, 2);            // bits per sample
    for (char c : std::string_view("data")) wav.push_back(static_cast<std::uint8_t>(c));
    PutLe(wav, dataBytes, 4);
    const int fade = ToneRate * FadeMs / 1000;
    for (const Tone& t : tones) {
        const int samples = ToneRate * t.durationMs / 1000;
        for (int i = 0; i < samples; ++i) {
            double envelope = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
            double value =
                Amplitude * envelope * std::sin(2 * std::numbers::pi * t.frequencyHz * i / ToneRate);
            PutLe(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
        }
    }
    return wav;
}

template <std::size_t N>
Mix_Chunk* Load(const Tone (&tones)[N]) {
    std::vector<std::uint8_t> wav = TonesWav(tones);
    return Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1);
}

}  // namespace

MixerBeeper::MixerBeeper(AudioOutput& audio) {
    if (!audio.open()) return;
    chunk_ = Load(Refusal);
    noVoice_ = Load(NoVoice);
    Mix_Volume(AudioOutput::BeepChannel, AudioOutput::FullVolume);
}

MixerBeeper::~MixerBeeper() {
    if (!chunk_ && !noVoice_) return;
    Mix_HaltChannel(AudioOutput::BeepChannel);
    if (chunk_) Mix_FreeChunk(chunk_);
    if (noVoice_) Mix_FreeChunk(noVoice_);
}

void MixerBeeper::beep() {
    if (chunk_) Mix_PlayChannel(AudioOutput::BeepChannel, chunk_, 0);
}

void MixerBeeper::sayNoVoice() {
    if (noVoice_) Mix_PlayChannel(AudioOutput::BeepChannel, noVoice_, 0);
}

void MixerBeeper::waitUntilQuiet() {
    // Bounded, in case the device has stopped taking samples.
    const Uint64 start = SDL_GetTicks64();
    while ((chunk_ || noVoice_) && Mix_Playing(AudioOutput::BeepChannel) && SDL_GetTicks64() - start < 3000)
        SDL_Delay(10);
}

}  // namespace veldrisa
