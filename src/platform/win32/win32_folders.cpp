// The program's folder from the executable's own path; the current directory through the wide API.
#include "platform/win32/win32_folders.hpp"

#include <windows.h>

#include "platform/recording/process.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {

std::string Win32Folders::programFolder() {
    const auto file = ExecutableFile();
    if (file.empty()) return {};
    return Utf8FromPath(file.parent_path() / "");
}

void Win32Folders::setCurrentDirectory(const std::string& path) {
    if (!SetCurrentDirectoryW(WideFromUtf8(path).c_str()))
        Warn("no se pudo entrar en la carpeta \"" + path + "\" (error " + std::to_string(GetLastError()) +
             ").");
}

}  // namespace veldrisa
