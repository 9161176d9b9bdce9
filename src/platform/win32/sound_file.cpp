// Checking a room sound's file before the media stack is given it.
#include "platform/win32/sound_file.hpp"

#include <windows.h>

#include "platform/recording/process.hpp"
#include "platform/shared/sound_file.hpp"

namespace veldrisa {

std::optional<std::filesystem::path> UsableSoundFile(const std::string& programFolder,
                                                     const std::string& name, std::string& problem) {
    const auto path = SoundPath(programFolder, name);
    if (!path || !PathFromUtf8(programFolder).is_absolute()) {
        problem = "no se conoce la carpeta del programa";
        return std::nullopt;
    }
    const std::filesystem::path file = PathFromUtf8(*path);
    // Opening only asks for the attributes: nothing is read, so nothing can block.
    HANDLE handle = CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = "no existe o no se puede abrir";
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    const bool regular = disk && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    const std::uintmax_t size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    problem = SoundFileProblem(regular ? FileKind::Regular : FileKind::Other, size);
    if (!problem.empty()) return std::nullopt;
    return file;
}

}  // namespace veldrisa
