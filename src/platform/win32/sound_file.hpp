// Which file a room sound may be played from: the program's folder only, regular files of sane size.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace veldrisa {

// A sound file larger than this is refused rather than read whole.
constexpr unsigned long long MaxSoundFileBytes = 50ull * 1024 * 1024;

// The full path of the named sound in the program's folder (any folder part of the name is
// ignored), or none with the reason in problem, in Spanish for the player: the folder is unknown,
// the file is missing, not a regular file (a pipe, a device, a folder) or too large.
std::optional<std::filesystem::path> UsableSoundFile(const std::filesystem::path& programFolder,
                                                     const std::string& name, std::string& problem);

}  // namespace veldrisa
