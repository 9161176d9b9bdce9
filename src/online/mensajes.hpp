// The online tables' messages as the client sees them (docs/protocol.md): what it sends, built
// here, and what the server sends, read here into plain values.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace veldrisa {

constexpr int VersionProtocolo = 1;

// A table of the hall's list.
struct MesaEnLista {
    std::string id;
    bool privada = false;
    int limite = 0;  // seconds for each choice, 0 none
    int jugadores = 0;
    int espectadores = 0;
    int libres = 0;
    bool empezada = false;
};

struct PersonajeEnMesa {
    std::string nombre;
    std::string jugador;  // empty: nobody has claimed it
    bool suyo = false;
};

// The table the client sits at, as the server last described it.
struct EstadoMesa {
    std::string id;
    bool privada = false;
    int limite = 0;
    bool creador = false;
    bool espectador = false;
    bool empezada = false;
    int espectadores = 0;
    std::array<PersonajeEnMesa, 10> personajes{};  // characters 1..10
    std::string evento;                            // what changed, to be spoken
};

struct MensajeServidor {
    enum class Tipo {
        Bienvenida,
        Mesas,
        Mesa,
        Di,
        Sonido,
        Log,
        Pitido,
        Historial,
        Error,
        Adios,
        Desconocido
    };
    Tipo tipo = Tipo::Desconocido;
    std::string texto;   // Di, Log, Error, Adios; Historial: the summary
    bool antes = false;  // Di
    bool despues = false;
    int sonido = 0;                     // Sonido: the room's player, 1..4
    bool suena = false;                 // Sonido: play (true) or stop
    std::string token;                  // Bienvenida
    std::string razon;                  // Error, Adios
    std::vector<std::string> mensajes;  // Historial: what was said meanwhile, oldest first
    // Historial: every game message missed, whole (say, sound, log, beep), each as it would have come.
    std::vector<MensajeServidor> perdidos;
    std::vector<MesaEnLista> mesas;  // Mesas
    EstadoMesa mesa;                 // Mesa
};

// A message that is not JSON, has no known type or lacks a field it needs is Desconocido: the
// client ignores it.
MensajeServidor LeeMensaje(std::string_view texto);

// The client's messages, each one line of JSON.
// seen: the game messages received for the seat, so that the server sends exactly the rest.
std::string MensajeHola(const std::string& token, int vistos);
std::string MensajeListaMesas();
std::string MensajeCreaMesa(const std::string& nombre, bool privada, const std::string& codigo, int limite);
std::string MensajeUnirse(const std::string& mesa, bool espectador, const std::string& nombre,
                          const std::string& codigo);
std::string MensajeReclama(int personaje);
std::string MensajeSuelta(int personaje);
std::string MensajeRenombra(int personaje, const std::string& nombre);
std::string MensajeEmpieza();
std::string MensajeTecla(std::string_view tecla, bool control);
std::string MensajeDeja();

}  // namespace veldrisa
