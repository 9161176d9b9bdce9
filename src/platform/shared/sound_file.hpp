// Where a room sound may be read from, and which files are fit to load: the same rules for the
// adapters of every platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veldrisa {

// Larger files are refused unread: the game's own sounds take well under one MiB, and a
// huge file would be decoded whole into memory.
inline constexpr std::uintmax_t MaxSoundBytes = 32u << 20;

// The full path of a room sound: the name's last component inside the program's folder, never
// a file found through the current directory. None when the program's folder is unknown.
std::optional<std::string> SoundPath(const std::string& programFolder, const std::string& name);

// What an opened file is, as the system reports it.
enum class FileKind { Regular, Other };

// Why a file of this kind and size is refused as a room sound, in words for the player; ""
// when it may be loaded. A pipe or a device could block the game or never end.
std::string SoundFileProblem(FileKind kind, std::uintmax_t bytes);

}  // namespace veldrisa
