// The one audio output shared by speech, the room sounds and the beep.
#pragma once

#include <SDL2/SDL.h>

#include <string>

namespace veldrisa {

// Opens SDL audio through SDL2_mixer once; everything audible mixes into it.
class AudioOutput {
public:
    // Channels of the mixer: the four room sounds (players 1..4) and then the beep.
    static constexpr int RoomChannels = 4;
    static constexpr int BeepChannel = RoomChannels;
    // Frames per device buffer: about 23 ms at 44.1 kHz, so a new message cuts the old one
    // off without an audible lag, yet large enough not to underrun on a busy machine.
    static constexpr int BufferFrames = 1024;

    // Without a device open() is false and error() says why; the game cannot start then.
    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    bool open() const { return open_; }
    const std::string& error() const { return error_; }
    // The device's format, as the speech stream must deliver it.
    int frequency() const { return frequency_; }
    SDL_AudioFormat format() const { return format_; }
    int channels() const { return channels_; }

private:
    bool open_ = false;
    std::string error_;
    int frequency_ = 0;
    SDL_AudioFormat format_ = 0;
    int channels_ = 0;
};

}  // namespace veldrisa
