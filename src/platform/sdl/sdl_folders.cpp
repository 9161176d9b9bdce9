// Finding the executable's folder through SDL and changing the current directory.
#include "platform/sdl/sdl_folders.hpp"

#include <SDL2/SDL.h>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "platform/shared/system_error.hpp"

namespace veldrisa {

std::string SdlFolders::programFolder() {
    // Never the current directory instead: sounds would be read from wherever the game was started.
    char* base = SDL_GetBasePath();
    if (!base) return "";
    std::string folder = base;
    SDL_free(base);
    return folder;
}

void SdlFolders::setCurrentDirectory(const std::string& path) {
    // An unknown program folder is reported by the sound players, which then stay silent.
    if (path.empty()) return;
    std::error_code error;
    std::filesystem::current_path(path, error);
    if (error)
        std::cerr << "Aviso: no se pudo entrar en la carpeta \"" << path << "\" ("
                  << SystemErrorText(error.value()) << ").\n";
}

}  // namespace veldrisa
