// How long a sound file plays, read from its headers without decoding it.
#pragma once

#include <SDL2/SDL.h>

#include <string>

namespace veldrisa {

// The sound's length in seconds, from a WAV file's own headers (every encoding SDL reads,
// 4-bit ADPCM included) or else from SDL2_mixer's decoder for the format; negative when
// neither can tell. An unreadable file gives the decoder's reason in error. Leaves the source
// at its start.
double SoundSeconds(SDL_RWops* source, std::string& error);

}  // namespace veldrisa
