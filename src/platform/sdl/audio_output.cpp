// Opening and closing the shared SDL2_mixer output.
#include "platform/sdl/audio_output.hpp"

#include <SDL2/SDL_mixer.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace veldrisa {
namespace {

// A whole number of milliseconds from 1 to MaxServerLatencyMs, digits alone.
bool SaneLatency(const std::string& value) {
    if (value.empty() || value.size() > 9 || value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long ms = std::stol(value);
    return ms >= 1 && ms <= AudioOutput::MaxServerLatencyMs;
}

// libpulse reads it when SDL opens its stream. A player's own sane value is kept; anything
// else would quietly undo the game's: libpulse takes "abc", "0" or "-1" for no setting at all,
// and "99999999" for a 30 s buffer that every wait for a message ends long before.
// True when the value is the game's own (`ours`), to be taken away once SDL's stream is open.
bool ChooseServerLatency(const char* ours) {
    const char* chosen = std::getenv("PULSE_LATENCY_MSEC");
    if (chosen && SaneLatency(chosen)) return false;
    if (chosen)
        std::cerr << "Aviso: PULSE_LATENCY_MSEC=\"" << chosen
                  << "\" no es un número entero de milisegundos entre 1 y " << AudioOutput::MaxServerLatencyMs
                  << "; se usan " << ours << " ms.\n";
    setenv("PULSE_LATENCY_MSEC", ours, 1);
    return true;
}

// The game's own value holds for SDL's stream alone: it is taken away once SDL has opened it, so that
// the voice's own stream, opened later, keeps the buffer it asks for.
struct SdlServerLatency {
    explicit SdlServerLatency(const char* ours) : own(ChooseServerLatency(ours)) {}
    ~SdlServerLatency() {
        if (own) unsetenv("PULSE_LATENCY_MSEC");
    }
    SdlServerLatency(const SdlServerLatency&) = delete;
    SdlServerLatency& operator=(const SdlServerLatency&) = delete;
    const bool own;
};

}  // namespace

AudioOutput::AudioOutput(bool voiceElsewhere) {
    const SdlServerLatency latency(voiceElsewhere ? MixOnlyServerLatencyMs : ServerLatencyMs);
    serverLatency_ = std::getenv("PULSE_LATENCY_MSEC");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error_ = SDL_GetError();
        return;
    }
    // Room sounds are MP3s; without the decoder those rooms just stay silent.
    Mix_Init(MIX_INIT_MP3);
    // The format stays 16-bit so the mixer converts the room sounds once, at load time;
    // rate and channel count follow the device to spare it a second conversion.
    if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, BufferFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) != 0) {
        error_ = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Mix_QuerySpec(&frequency_, &format_, &channels_);
    Mix_AllocateChannels(RoomChannels + 1);
    // The speech needs no channel: it comes in through the music hook.
    limiter_.emplace(1.0 / Headroom, voiceElsewhere ? Ceiling * (1 - VoiceShare) : Ceiling, ReleaseSeconds,
                     frequency_);
    Mix_SetPostMix(&AudioOutput::Limit, this);
    open_ = true;
}

AudioOutput::~AudioOutput() {
    if (!open_) return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::ApplyHeadroom(Uint8* data, int bytes) {
    auto* samples = reinterpret_cast<std::int16_t*>(data);
    for (int i = 0; i < bytes / 2; ++i) samples[i] = static_cast<std::int16_t>(samples[i] * Headroom);
}

void AudioOutput::Limit(void* output, Uint8* stream, int length) {
    auto& self = *static_cast<AudioOutput*>(output);
    const int frameBytes = 2 * self.channels_;
    self.limiter_->Process(reinterpret_cast<std::int16_t*>(stream), length / frameBytes, self.channels_);
}

}  // namespace veldrisa
