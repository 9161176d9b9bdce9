// Reading a sound's length from a WAV file's chunks, or through SDL2_mixer's music decoders.
#include "platform/sdl/sound_length.hpp"

#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace veldrisa {
namespace {

Uint32 Le32(const Uint8* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<Uint32>(bytes[3]) << 24;
}
Uint16 Le16(const Uint8* bytes) { return static_cast<Uint16>(bytes[0] | bytes[1] << 8); }

// The data chunk's size over what a second of it takes. The size a header claims is held to
// what the file really has, so that a lying header cannot make a short file look long.
std::optional<double> WaveSeconds(SDL_RWops* source) {
    Uint8 header[12];
    if (SDL_RWread(source, header, 1, sizeof header) != sizeof header ||
        std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return std::nullopt;
    Uint8 chunk[8];
    Uint8 format[16] = {};
    while (SDL_RWread(source, chunk, 1, sizeof chunk) == sizeof chunk) {
        const Uint32 size = Le32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            const double bitsPerSecond = 1.0 * Le16(format + 2) * Le32(format + 4) * Le16(format + 14);
            const Sint64 left = SDL_RWsize(source) - SDL_RWtell(source);
            if (bitsPerSecond <= 0 || left < 0) return std::nullopt;
            return 8.0 * std::min<Sint64>(size, left) / bitsPerSecond;
        }
        const bool isFormat = std::memcmp(chunk, "fmt ", 4) == 0 && size >= sizeof format;
        if (isFormat && SDL_RWread(source, format, 1, sizeof format) != sizeof format) return std::nullopt;
        // Chunks are padded to an even size.
        const Sint64 skip = static_cast<Sint64>(size) + (size & 1) - (isFormat ? Sint64{sizeof format} : 0);
        if (SDL_RWseek(source, skip, RW_SEEK_CUR) < 0) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

double SoundSeconds(SDL_RWops* source, std::string& error) {
    std::optional<double> seconds = WaveSeconds(source);
    SDL_RWseek(source, 0, RW_SEEK_SET);
    if (seconds) return *seconds;
    Mix_Music* music = Mix_LoadMUS_RW(source, 0);
    SDL_RWseek(source, 0, RW_SEEK_SET);
    if (!music) {
        error = Mix_GetError();
        return -1;
    }
    const double length = Mix_MusicDuration(music);
    Mix_FreeMusic(music);
    return length;
}

}  // namespace veldrisa
