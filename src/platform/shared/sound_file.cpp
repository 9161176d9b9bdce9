// The program's folder as the only source of room sounds, and the files fit to be one.
#include "platform/shared/sound_file.hpp"

#include <filesystem>

namespace veldrisa {

std::optional<std::string> SoundPath(const std::string& programFolder, const std::string& name) {
    const std::filesystem::path file = std::filesystem::path(name).filename();
    if (programFolder.empty() || file.empty()) return std::nullopt;
    return (std::filesystem::path(programFolder) / file).string();
}

std::string SoundFileProblem(FileKind kind, std::uintmax_t bytes) {
    if (kind != FileKind::Regular) return "no es un archivo normal";
    if (bytes > MaxSoundBytes)
        return "ocupa " + std::to_string(bytes >> 20) + " MB; un sonido puede ocupar " +
               std::to_string(MaxSoundBytes >> 20) + " MB como mucho";
    return "";
}

}  // namespace veldrisa
