// Which file a room sound may be played from, checked through the Windows file API.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace veldrisa {

// The full path of the named sound in the program's folder (UTF-8; any folder part of the name
// is ignored), or none with the reason in problem, in Spanish for the player: the folder is
// unknown, the file is missing, not a regular file (a device, a folder) or too large.
std::optional<std::filesystem::path> UsableSoundFile(const std::string& programFolder,
                                                     const std::string& name, std::string& problem);

}  // namespace veldrisa
