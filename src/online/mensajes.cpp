// Reading the server's messages and writing the client's.
#include "online/mensajes.hpp"

#include <nlohmann/json.hpp>

namespace veldrisa {
namespace {

using json = nlohmann::json;
using Tipo = MensajeServidor::Tipo;

std::string Cadena(const json& j, const char* campo) {
    auto v = j.find(campo);
    return v != j.end() && v->is_string() ? v->get<std::string>() : std::string();
}

bool Booleano(const json& j, const char* campo) {
    auto v = j.find(campo);
    return v != j.end() && v->is_boolean() && v->get<bool>();
}

int Entero(const json& j, const char* campo) {
    auto v = j.find(campo);
    return v != j.end() && v->is_number_integer() ? v->get<int>() : 0;
}

void LeeMesas(const json& j, MensajeServidor& m) {
    auto lista = j.find("tables");
    if (lista == j.end() || !lista->is_array()) return;
    for (const json& t : *lista) {
        if (!t.is_object()) continue;
        m.mesas.push_back({Cadena(t, "id"), Booleano(t, "private"), Entero(t, "time_limit"),
                           Entero(t, "players"), Entero(t, "spectators"), Entero(t, "free"),
                           Booleano(t, "started")});
    }
}

void LeeMesa(const json& j, MensajeServidor& m) {
    EstadoMesa& e = m.mesa;
    e = {Cadena(j, "id"),          Booleano(j, "private"), Entero(j, "time_limit"), Booleano(j, "creator"),
         Booleano(j, "spectator"), Booleano(j, "started"), Entero(j, "spectators"), {},
         Cadena(j, "event")};
    auto lista = j.find("characters");
    if (lista == j.end() || !lista->is_array()) return;
    for (const json& c : *lista) {
        const int n = c.is_object() ? Entero(c, "character") : 0;
        if (n < 1 || n > 10) continue;
        e.personajes[static_cast<std::size_t>(n - 1)] = {Cadena(c, "name"), Cadena(c, "player"),
                                                         Booleano(c, "yours")};
    }
}

MensajeServidor Lee(const json& j, bool enHistorial);

void LeeHistorial(const json& j, MensajeServidor& m) {
    m.texto = Cadena(j, "summary");
    auto lista = j.find("messages");
    if (lista != j.end() && lista->is_array())
        for (const json& t : *lista)
            if (t.is_string()) m.mensajes.push_back(t.get<std::string>());
    auto perdidos = j.find("missed");
    if (perdidos != j.end() && perdidos->is_array())
        for (const json& p : *perdidos)
            if (p.is_object()) m.perdidos.push_back(Lee(p, true));
}

Tipo TipoDe(const std::string& nombre) {
    static const std::pair<const char*, Tipo> tipos[] = {
        {"welcome", Tipo::Bienvenida}, {"tables", Tipo::Mesas},
        {"table", Tipo::Mesa},         {"say", Tipo::Di},
        {"sound", Tipo::Sonido},       {"log", Tipo::Log},
        {"beep", Tipo::Pitido},        {"history", Tipo::Historial},
        {"error", Tipo::Error},        {"goodbye", Tipo::Adios},
    };
    for (const auto& [n, t] : tipos)
        if (nombre == n) return t;
    return Tipo::Desconocido;
}

std::string Linea(const json& j) { return j.dump(-1, ' ', false, json::error_handler_t::replace); }

// A history inside a history is no message: read as unknown, it cannot nest without end.
MensajeServidor Lee(const json& j, bool enHistorial) {
    MensajeServidor m;
    m.tipo = TipoDe(Cadena(j, "type"));
    m.texto = Cadena(j, "text");
    switch (m.tipo) {
        case Tipo::Bienvenida: m.token = Cadena(j, "token"); break;
        case Tipo::Mesas: LeeMesas(j, m); break;
        case Tipo::Mesa: LeeMesa(j, m); break;
        case Tipo::Di:
            m.antes = Booleano(j, "before");
            m.despues = Booleano(j, "after");
            break;
        case Tipo::Sonido:
            m.sonido = Entero(j, "player");
            m.suena = Cadena(j, "op") == "play";
            if (m.sonido < 1 || m.sonido > 4 || (!m.suena && Cadena(j, "op") != "stop"))
                m.tipo = Tipo::Desconocido;
            break;
        case Tipo::Historial:
            if (enHistorial)
                m.tipo = Tipo::Desconocido;
            else
                LeeHistorial(j, m);
            break;
        case Tipo::Error:
        case Tipo::Adios: m.razon = Cadena(j, "reason"); break;
        default: break;
    }
    return m;
}

}  // namespace

MensajeServidor LeeMensaje(std::string_view texto) {
    const json j = json::parse(texto, nullptr, false);
    return j.is_object() ? Lee(j, false) : MensajeServidor{};
}

std::string MensajeHola(const std::string& token, int vistos) {
    json j{{"type", "hello"}, {"version", VersionProtocolo}, {"client", "native"}};
    if (!token.empty()) {
        j["token"] = token;
        j["seen"] = vistos;
    }
    return Linea(j);
}

std::string MensajeListaMesas() { return Linea({{"type", "list_tables"}}); }

std::string MensajeCreaMesa(const std::string& nombre, bool privada, const std::string& codigo, int limite) {
    json j{{"type", "create_table"}, {"name", nombre}, {"private", privada}, {"time_limit", limite}};
    if (privada) j["code"] = codigo;
    return Linea(j);
}

std::string MensajeUnirse(const std::string& mesa, bool espectador, const std::string& nombre,
                          const std::string& codigo) {
    json j{{"type", "join"}, {"table", mesa}, {"as", espectador ? "spectator" : "player"}, {"name", nombre}};
    if (!codigo.empty()) j["code"] = codigo;
    return Linea(j);
}

std::string MensajeReclama(int personaje) { return Linea({{"type", "claim"}, {"character", personaje}}); }
std::string MensajeSuelta(int personaje) { return Linea({{"type", "release"}, {"character", personaje}}); }
std::string MensajeRenombra(int personaje, const std::string& nombre) {
    return Linea({{"type", "rename"}, {"character", personaje}, {"name", nombre}});
}
std::string MensajeEmpieza() { return Linea({{"type", "start"}}); }

std::string MensajeTecla(std::string_view tecla, bool control) {
    json j{{"type", "key"}, {"key", tecla}};
    if (control) j["control"] = true;
    return Linea(j);
}

std::string MensajeDeja() { return Linea({{"type", "leave"}}); }

}  // namespace veldrisa
