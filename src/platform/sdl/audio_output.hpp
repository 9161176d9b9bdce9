// The one audio output shared by speech, the room sounds and the beep.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sdl/peak_limiter.hpp"

namespace veldrisa {

// Opens SDL audio through SDL2_mixer once; everything audible mixes into it, the voice too unless
// it has a stream of its own on the sound server. The speech, the room sounds and the beep enter
// the mix at half their level, and a limiter on the whole mix brings them back up: a sound alone is
// heard at its own level, sounds together never clip.
class AudioOutput {
public:
    // Channels of the mixer: the four room sounds (players 1..4) and then the beep.
    static constexpr int RoomChannels = 4;
    static constexpr int BeepChannel = RoomChannels;
    // Frames per device buffer: about 5.8 ms at 44.1 kHz. A message waits up to one buffer
    // for the device, so this bounds the lag between a key and its answer, and between Control
    // and silence; the benchmark finds no underrun at this size with a full build running beside it.
    static constexpr int BufferFrames = 256;
    // What a PulseAudio server (or PipeWire's PulseAudio service) is asked to hold ahead of the
    // device, in milliseconds, for SDL's stream alone. SDL asks for one buffer, 5.8 ms; on a
    // two-core machine SDL's audio thread is now and then later than that, most often while a key
    // is being answered, and the stream runs dry: the start of the answer clicks (the voice's
    // when it is in this mix). The benchmark heard such gaps at 5.8, 8
    // and 10 ms and none at 12, which costs about 6 ms of latency. A player's own
    // PULSE_LATENCY_MSEC is kept when it is a whole number of milliseconds up to
    // MaxServerLatencyMs; any other is named in a warning and this one is used.
    static constexpr const char* ServerLatencyMs = "12";
    // With the voice on a stream of its own, only the room sounds and the beeps are in SDL's: none
    // of them answers a key so closely that 25 ms matter, and SDL's thread may then be that late.
    static constexpr const char* MixOnlyServerLatencyMs = "25";
    static constexpr int MaxServerLatencyMs = 200;
    // What each sound is multiplied by on its way into the mix; the limiter undoes it.
    static constexpr double Headroom = 0.5;
    // The loudest the mix ever gets, as a share of full scale (about -0.5 dBFS).
    static constexpr double Ceiling = 0.94;
    // With the voice on a stream of its own, the server adds the two streams with nothing to limit
    // the sum: the voice is limited to this share of the ceiling and the mix to the rest. espeak-ng's
    // loudest samples are about 0.6 of full scale, so the voice keeps its own level; the room sounds,
    // at 40 % by default, and the beeps fit in the rest.
    static constexpr double VoiceShare = 0.6;
    // How fast the limiter lets a lowered gain come back: slow enough not to pump on speech.
    static constexpr double ReleaseSeconds = 0.08;
    // The mixer's volume (out of 128) that plays a sound at its own level.
    static constexpr int FullVolume = static_cast<int>(128 * Headroom);

    // Lowers signed 16-bit samples of the device's format to the level they enter the mix at.
    static void ApplyHeadroom(Uint8* data, int bytes);

    // Without a device open() is false and error() says why; the game cannot start then. With
    // `voiceElsewhere` the voice is not in the mix, which keeps to the rest of the ceiling.
    explicit AudioOutput(bool voiceElsewhere = false);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    bool open() const { return open_; }
    const std::string& error() const { return error_; }
    // The device's format, as the speech stream must deliver it.
    int frequency() const { return frequency_; }
    SDL_AudioFormat format() const { return format_; }
    int channels() const { return channels_; }
    // The buffer SDL's stream asked a sound server for (PULSE_LATENCY_MSEC while it opened).
    const std::string& serverLatency() const { return serverLatency_; }

private:
    static void Limit(void* output, Uint8* stream, int length);

    bool open_ = false;
    std::string error_;
    int frequency_ = 0;
    SDL_AudioFormat format_ = 0;
    int channels_ = 0;
    std::string serverLatency_;
    std::optional<PeakLimiter> limiter_;  // runs on the audio thread only
};

}  // namespace veldrisa
