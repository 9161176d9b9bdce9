// Spanish words for the errors a file, a folder or a device can give the game.
#include "platform/shared/system_error.hpp"

#include <cerrno>
#include <utility>

namespace veldrisa {
namespace {

constexpr std::pair<int, const char*> Texts[] = {
    {ENOENT, "no existe"},
    {EACCES, "sin permiso de acceso"},
    {EPERM, "operación no permitida"},
    {EISDIR, "es una carpeta"},
    {ENOTDIR, "una parte de la ruta no es una carpeta"},
    {ELOOP, "demasiados enlaces simbólicos seguidos"},
    {ENAMETOOLONG, "el nombre es demasiado largo"},
    {EMFILE, "el juego tiene demasiados archivos abiertos"},
    {ENFILE, "el sistema tiene demasiados archivos abiertos"},
    {ENOMEM, "no queda memoria"},
    {EIO, "error de lectura del disco"},
    {ENXIO, "el dispositivo no existe"},
    {ENODEV, "el dispositivo no existe"},
    {EAGAIN, "no está disponible ahora"},
    {EBUSY, "está ocupado"},
    {EINVAL, "argumento no válido"},
    {EBADF, "descriptor de archivo no válido"},
    {ENOSPC, "no queda espacio en el disco"},
    {EROFS, "el sistema de archivos es de solo lectura"},
    {EOVERFLOW, "es demasiado grande"},
    {ETXTBSY, "el archivo está en uso"},
    {EFBIG, "es demasiado grande"},
};

}  // namespace

std::string SystemErrorText(int error) {
    for (const auto& [number, text] : Texts)
        if (number == error) return text;
    return "error del sistema número " + std::to_string(error);
}

}  // namespace veldrisa
