// Opening and closing the shared SDL2_mixer output.
#include "platform/sdl/audio_output.hpp"

#include <SDL2/SDL_mixer.h>

namespace veldrisa {

AudioOutput::AudioOutput() {
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
    open_ = true;
}

AudioOutput::~AudioOutput() {
    if (!open_) return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace veldrisa
