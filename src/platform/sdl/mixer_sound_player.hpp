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
    // What a sound may take once decoded: about 6 minutes of CD-quality stereo. The game's own
    // sounds last seconds.
    static constexpr long long MaxDecodedBytes = 64ll << 20;

    // room: 1..4, which is also the player's channel (from 0). The sounds are read from
    // soundFolder alone, the program's folder; "" when it is unknown, and the room is silent.
    MixerSoundPlayer(AudioOutput& audio, int room, Playback playback, std::string soundFolder);
    ~MixerSoundPlayer() override;
    MixerSoundPlayer(const MixerSoundPlayer&) = delete;
    MixerSoundPlayer& operator=(const MixerSoundPlayer&) = delete;

    // The file of this name in the sound folder, whatever folder the name itself gives. A file
    // that cannot be loaded (missing, broken, not a regular file, too large, too long once
    // decoded) is named once on stderr and leaves the room silent.
    void setFileName(const std::string& name) override;
    // Starts the sound from its beginning, even when it is already playing.
    void play() override;
    void stop() override;

    // In percent of the sound's own loudness, 0 silent; a player starts at the port's default,
    // which sits under the speech.
    void setVolume(int percent) override;

private:
    AudioOutput& audio_;
    int channel_;
    Playback playback_;
    std::string folder_;
    std::string name_;
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace veldrisa
