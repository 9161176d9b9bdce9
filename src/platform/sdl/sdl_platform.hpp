// The Linux platform: SDL2's window and audio, espeak-ng's voice, SDL2_mixer's room sounds.
#pragma once

#include <memory>
#include <string>

#include "app/local_platform.hpp"

namespace veldrisa {

// Starts SDL and opens the window and the audio. None when the game cannot start: the reason is
// then already told (standard error, and a message box where one can be shown), and status is
// the process's exit status.
std::unique_ptr<LocalPlatform> MakeSdlPlatform(int& status);

}  // namespace veldrisa
