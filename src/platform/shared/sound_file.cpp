// The program's folder as the only source of room sounds, and the files fit to be one.
#include "platform/shared/sound_file.hpp"

#include <filesystem>

namespace veldrisa {

namespace {

// The game's strings are UTF-8; Windows would read a narrow path in its ANSI code page.
std::filesystem::path Path(const std::string& text) {
    return std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size());
}

}  // namespace

std::optional<std::string> SoundPath(const std::string& programFolder, const std::string& name) {
    const std::filesystem::path file = Path(name).filename();
    if (programFolder.empty() || file.empty()) return std::nullopt;
    const std::u8string path = (Path(programFolder) / file).u8string();
    return std::string(reinterpret_cast<const char*>(path.data()), path.size());
}

std::string SoundFileProblem(FileKind kind, std::uintmax_t bytes) {
    if (kind != FileKind::Regular) return "no es un archivo normal";
    if (bytes > MaxSoundBytes)
        return "ocupa " + std::to_string(bytes >> 20) + " MB; un sonido puede ocupar " +
               std::to_string(MaxSoundBytes >> 20) + " MB como mucho";
    return "";
}

}  // namespace veldrisa
