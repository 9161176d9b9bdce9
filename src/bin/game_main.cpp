// veldrisa: the game in its window, heard through espeak-ng and SDL2_mixer.
#include "app/local_platform.hpp"
#include "platform/sdl/sdl_platform.hpp"

int main() {
    int status = 0;
    auto platform = veldrisa::MakeSdlPlatform(status);
    return platform ? veldrisa::RunGame(*platform) : status;
}
