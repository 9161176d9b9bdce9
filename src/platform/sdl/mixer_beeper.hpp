// The Beeper port: a short tone of our own through the shared mixer.
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

    static constexpr int FrequencyHz = 880;
    static constexpr int DurationMs = 120;

private:
    Mix_Chunk* chunk_ = nullptr;
};

}  // namespace veldrisa
