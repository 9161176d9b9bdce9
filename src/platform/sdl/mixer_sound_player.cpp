// Loading and playing a room sound through SDL2_mixer.
#include "platform/sdl/mixer_sound_player.hpp"

#include <SDL2/SDL_mixer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <set>

#include "platform/sdl/sound_length.hpp"
#include "platform/shared/sound_file.hpp"
#include "platform/shared/system_error.hpp"

namespace veldrisa {
namespace {

// Each game gives the players their files again: a missing file is reported only once.
bool FirstComplaint(const std::string& name) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    return reported.insert(name).second;
}

// "6 min 20 s": how long a sound lasts, for the player.
std::string Minutes(double seconds) {
    const auto whole = static_cast<long long>(seconds);
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

// A loaded sound is held whole in memory in the device's format, so a small file of a long
// low-rate sound would take gigabytes: its length is read first. "" when it may be loaded.
std::string LengthProblem(SDL_RWops* source, const AudioOutput& audio) {
    std::string error;
    const double seconds = SoundSeconds(source, error);
    if (!error.empty()) return error;
    if (seconds < 0) return "no se sabe cuánto dura";
    const int bytesPerSecond = audio.frequency() * audio.channels() * SDL_AUDIO_BITSIZE(audio.format()) / 8;
    const double longest = static_cast<double>(MixerSoundPlayer::MaxDecodedBytes) / bytesPerSecond;
    if (seconds > longest)
        return "dura " + Minutes(seconds) + "; un sonido puede durar " + Minutes(longest) + " como mucho";
    return "";
}

// Opened without blocking, so that a pipe cannot hold the game, and looked at before a byte
// is read; none, with the reason, for a file that is not fit to be a room sound.
Mix_Chunk* Load(const std::string& path, const AudioOutput& audio, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemErrorText(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        reason = SystemErrorText(errno);
    else
        reason = SoundFileProblem(S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other,
                                  static_cast<std::uintmax_t>(info.st_size));
    std::FILE* file = reason.empty() ? ::fdopen(fd, "rb") : nullptr;
    if (!file) {
        if (reason.empty()) reason = SystemErrorText(errno);
        ::close(fd);
        return nullptr;
    }
    // Through Mix_LoadWAV a missing file would be reported only as "NULL src".
    SDL_RWops* source = SDL_RWFromFP(file, SDL_TRUE);
    reason = LengthProblem(source, audio);
    if (!reason.empty()) {
        SDL_RWclose(source);
        return nullptr;
    }
    Mix_Chunk* chunk = Mix_LoadWAV_RW(source, 1);
    if (!chunk) reason = Mix_GetError();
    return chunk;
}

}  // namespace

MixerSoundPlayer::MixerSoundPlayer(AudioOutput& audio, int room, Playback playback, std::string soundFolder)
    : audio_(audio), channel_(room - 1), playback_(playback), folder_(std::move(soundFolder)) {
    setVolume(DefaultVolume);
}

void MixerSoundPlayer::setVolume(int percent) {
    if (audio_.open())
        Mix_Volume(channel_, static_cast<int>(
                                 std::lround(std::clamp(percent, 0, 100) * AudioOutput::FullVolume / 100.0)));
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
    const std::optional<std::string> path = SoundPath(folder_, name);
    if (!path) {
        // Said once for all four rooms: the program's folder is the same for each.
        if (FirstComplaint(""))
            std::cerr << "Aviso: no se sabe en qué carpeta está el juego; las salas quedarán en silencio.\n";
        return;
    }
    std::string reason;
    chunk_ = Load(*path, audio_, reason);
    if (!chunk_ && FirstComplaint(*path))
        std::cerr << "Aviso: no se pudo cargar el sonido \"" << *path << "\" (" << reason
                  << "); esa sala quedará en silencio.\n";
}

void MixerSoundPlayer::play() {
    if (!chunk_) return;
    Mix_PlayChannel(channel_, chunk_, playback_ == Playback::Loop ? -1 : 0);
}

void MixerSoundPlayer::stop() {
    if (chunk_) Mix_HaltChannel(channel_);
}

}  // namespace veldrisa
