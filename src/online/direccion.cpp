// Reading a typed server address.
#include "online/direccion.hpp"

#include <algorithm>
#include <charconv>

namespace veldrisa {
namespace {

bool EsBlanco(char c) { return c == ' ' || c == '\t'; }

std::string_view SinBlancos(std::string_view t) {
    while (!t.empty() && EsBlanco(t.front())) t.remove_prefix(1);
    while (!t.empty() && EsBlanco(t.back())) t.remove_suffix(1);
    return t;
}

std::optional<int> LeePuerto(std::string_view t) {
    int puerto = 0;
    auto [fin, error] = std::from_chars(t.data(), t.data() + t.size(), puerto);
    if (t.empty() || error != std::errc{} || fin != t.data() + t.size() || puerto < 1 || puerto > 65535)
        return std::nullopt;
    return puerto;
}

// Letters, digits, dots, hyphens (a name or IPv4), or hexadecimal digits, colons and dots (IPv6).
bool NombreValido(std::string_view n, bool ipv6) {
    if (n.empty() || n.size() > 253) return false;
    return std::all_of(n.begin(), n.end(), [ipv6](char c) {
        const bool alfanumerico = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        return alfanumerico || c == '.' || (ipv6 ? c == ':' : c == '-');
    });
}

}  // namespace

std::string Direccion::Texto() const {
    const bool ipv6 = nombre.find(':') != std::string::npos;
    return (ipv6 ? "[" + nombre + "]" : nombre) + ":" + std::to_string(puerto);
}

std::optional<Direccion> LeeDireccion(std::string_view texto) {
    texto = SinBlancos(texto);
    Direccion d;
    std::string_view resto;
    if (!texto.empty() && texto.front() == '[') {
        const auto cierre = texto.find(']');
        if (cierre == std::string_view::npos) return std::nullopt;
        d.nombre = texto.substr(1, cierre - 1);
        resto = texto.substr(cierre + 1);
        if (!NombreValido(d.nombre, true)) return std::nullopt;
    } else {
        const auto dosPuntos = texto.find(':');
        d.nombre = texto.substr(0, dosPuntos);
        resto = dosPuntos == std::string_view::npos ? std::string_view{} : texto.substr(dosPuntos);
        if (!NombreValido(d.nombre, false)) return std::nullopt;
    }
    if (resto.empty()) return d;
    if (resto.front() != ':') return std::nullopt;
    auto puerto = LeePuerto(resto.substr(1));
    if (!puerto) return std::nullopt;
    d.puerto = *puerto;
    return d;
}

}  // namespace veldrisa
