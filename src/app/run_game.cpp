// Start-up of the program on a local platform, then the run loop.
#include "app/bucle.hpp"
#include "app/local_platform.hpp"

namespace veldrisa {

int RunGame(LocalPlatform& platform) {
    Programa programa(platform.ports());
    Bucle bucle(programa, platform.window());
    platform.setWaitPump([&bucle] { return bucle.DuranteEspera(); });
    const bool inicia = programa.Inicia();
    if (inicia) bucle.Ejecuta();
    // The engine outlives the loop.
    platform.setWaitPump({});
    if (!inicia) platform.cannotStart("No hay voces instaladas");
    return inicia ? 0 : 1;
}

}  // namespace veldrisa
