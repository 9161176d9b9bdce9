// Loading and playing a room sound through SDL2_mixer.
#include "platform/sdl/mixer_sound_player.hpp"

#include <SDL2/SDL_mixer.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <set>

namespace veldrisa {
namespace {

// Each game gives the players their files again: a missing file is reported only once.
bool FirstComplaint(const std::string& name) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    return reported.insert(name).second;
}

}  // namespace

MixerSoundPlayer::MixerSoundPlayer(AudioOutput& audio, int room, Playback playback)
    : audio_(audio), channel_(room - 1), playback_(playback) {
    if (audio_.open()) Mix_Volume(channel_, Volume);
}

MixerSoundPlayer::~MixerSoundPlayer() {
    if (chunk_) {
        Mix_HaltChannel(channel_);
        Mix_FreeChunk(chunk_);
    }
}

void MixerSoundPlayer::setFileName(const std::string& name) {
    if (!audio_.open() || name == name_) return;
    name_ = name;
    if (chunk_) {
        Mix_HaltChannel(channel_);
        Mix_FreeChunk(chunk_);
    }
    chunk_ = nullptr;
    // Opened here: through Mix_LoadWAV a missing file is reported only as "NULL src".
    std::string reason;
    if (std::FILE* file = std::fopen(name.c_str(), "rb"))
        chunk_ = Mix_LoadWAV_RW(SDL_RWFromFP(file, SDL_TRUE), 1);
    else
        reason = std::strerror(errno);
    if (!chunk_ && FirstComplaint(name))
        std::cerr << "Aviso: no se pudo cargar el sonido \"" << name << "\" ("
                  << (reason.empty() ? Mix_GetError() : reason) << "); esa sala quedará en silencio.\n";
}

void MixerSoundPlayer::play() {
    if (!chunk_) return;
    Mix_PlayChannel(channel_, chunk_, playback_ == Playback::Loop ? -1 : 0);
}

void MixerSoundPlayer::stop() {
    if (chunk_) Mix_HaltChannel(channel_);
}

}  // namespace veldrisa
