// Checking a room sound's file before the media stack is given it.
#include "platform/win32/sound_file.hpp"

#include <windows.h>

#include "platform/recording/process.hpp"

namespace veldrisa {

std::optional<std::filesystem::path> UsableSoundFile(const std::filesystem::path& programFolder,
                                                     const std::string& name, std::string& problem) {
    if (programFolder.empty() || !programFolder.is_absolute()) {
        problem = "no se conoce la carpeta del programa";
        return std::nullopt;
    }
    const std::filesystem::path file = programFolder / PathFromUtf8(name).filename();
    // Opening only asks for the attributes: a pipe or device answers at once or not at all.
    HANDLE handle = CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = "no existe o no se puede abrir";
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!disk || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        problem = "no es un archivo normal";
        return std::nullopt;
    }
    const unsigned long long size =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > MaxSoundFileBytes) {
        problem = "es demasiado grande (más de 50 MB)";
        return std::nullopt;
    }
    return file;
}

}  // namespace veldrisa
