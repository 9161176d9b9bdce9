// The Beeper port: a short tone of our own through the shared mixer, and the no-voice tones.
#pragma once

#include "platform/sdl/audio_output.hpp"
#include "ports/platform.hpp"

struct Mix_Chunk;

namespace veldrisa {

class MixerBeeper : public Beeper {
public:
    explicit MixerBeeper(AudioOutput& audio);
    ~MixerBeeper() override;
    MixerBeeper(const MixerBeeper&) = delete;
    MixerBeeper& operator=(const MixerBeeper&) = delete;

    void beep() override;
    // The tones that tell a player there is no voice to speak with; returns at once.
    void sayNoVoice();
    // Returns once whatever this beeper plays has been played out (at most a few seconds).
    void waitUntilQuiet();

    static constexpr int FrequencyHz = 880;
    static constexpr int DurationMs = 120;

private:
    Mix_Chunk* chunk_ = nullptr;
    Mix_Chunk* noVoice_ = nullptr;
};

}  // namespace veldrisa
