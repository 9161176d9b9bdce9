// veldrisa: the game in its window, heard through espeak-ng and SDL2_mixer; the online tables
// through the WebSocket client.
#include <cstdlib>
#include <iostream>

#include "app/local_platform.hpp"
#include "platform/linux/ws_connection.hpp"
#include "platform/recording/process.hpp"
#include "platform/sdl/sdl_platform.hpp"

namespace {

// $XDG_CONFIG_HOME/veldrisa, or ~/.config/veldrisa; empty when neither is known.
std::string ConfigFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (config && *config) return std::string(config) + "/veldrisa/" + veldrisa::ArchivoHuellas;
    if (home && *home) return std::string(home) + "/.config/veldrisa/" + veldrisa::ArchivoHuellas;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const auto servidor = veldrisa::ServidorDeArgumentos(veldrisa::CommandLineArguments(argc, argv));
    if (!servidor) {
        std::cerr << veldrisa::UsoDelPrograma << '\n';
        return 2;
    }
    int status = 0;
    auto platform = veldrisa::MakeSdlPlatform(status);
    if (!platform) return status;
    auto conexion = veldrisa::MakeWebSocketConnection([&platform] { platform->window().wake(); });
    return veldrisa::RunGame(*platform, conexion.get(), {*servidor, ConfigFile()});
}
