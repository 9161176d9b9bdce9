// A server's address as the player types it: a name or an IP address, and a port.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veldrisa {

// The port the server listens on unless told otherwise.
constexpr int PuertoPorOmision = 7531;

struct Direccion {
    std::string nombre;  // a host name, an IPv4 address, or an IPv6 address without brackets
    int puerto = PuertoPorOmision;
    // As it is shown, spoken and remembered: "nombre:puerto", "[::1]:puerto".
    std::string Texto() const;
};

// "nombre", "nombre:puerto", "[IPv6]" or "[IPv6]:puerto", blanks around it ignored; nothing when
// the text is none of these or the port is outside 1..65535.
std::optional<Direccion> LeeDireccion(std::string_view texto);

}  // namespace veldrisa
