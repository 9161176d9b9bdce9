// The SoundPlayer port for one room: a sound file on its own SDL2_mixer channel.
#pragma once

#include <string>

#include "platform/sdl/audio_output.hpp"
#include "ports/platform.hpp"

struct Mix_Chunk;

namespace veldrisa {

class MixerSoundPlayer : public SoundPlayer {
public:
    enum class Playback { Once, Loop };

    // room: 1..4, which is also the player's channel (from 0).
    MixerSoundPlayer(AudioOutput& audio, int room, Playback playback);
    ~MixerSoundPlayer() override;
    MixerSoundPlayer(const MixerSoundPlayer&) = delete;
    MixerSoundPlayer& operator=(const MixerSoundPlayer&) = delete;

    // A path, or a bare name found through the current directory. A file that cannot be
    // loaded is named once on stderr and leaves the room silent.
    void setFileName(const std::string& name) override;
    // Starts the sound from its beginning, even when it is already playing.
    void play() override;
    void stop() override;

    // Volume of the room sounds, out of the mixer's 128: they sit under the speech.
    static constexpr int Volume = 52;

private:
    AudioOutput& audio_;
    int channel_;
    Playback playback_;
    std::string name_;
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace veldrisa
