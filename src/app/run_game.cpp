// Start-up of the program on a local platform, then the run loop.
#include "app/bucle.hpp"
#include "app/local_platform.hpp"

namespace veldrisa {

int RunGame(LocalPlatform& platform, Connection* conexion, OpcionesEnLinea enLinea) {
    Programa programa(platform.ports());
    if (conexion) programa.PermiteEnLinea(*conexion, std::move(enLinea));
    Bucle bucle(programa, platform.window());
    platform.setWaitPump([&bucle] { return bucle.DuranteEspera(); });
    const bool inicia = programa.Inicia();
    if (inicia) bucle.Ejecuta([&programa] { programa.Red(); });
    // The engine outlives the loop.
    platform.setWaitPump({});
    if (!inicia) platform.cannotStart("No hay voces instaladas");
    return inicia ? 0 : 1;
}

std::optional<std::string> ServidorDeArgumentos(const std::vector<std::string>& argumentos) {
    if (argumentos.empty()) return std::string();
    if (argumentos.size() == 2 && argumentos[0] == "--server" && LeeDireccion(argumentos[1]))
        return argumentos[1];
    return std::nullopt;
}

}  // namespace veldrisa
