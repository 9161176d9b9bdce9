// The online client's steps: connecting, the hall, the table, the game, coming back.
#include "online/cliente.hpp"

#include <algorithm>
#include <filesystem>

#include "common/unicode.hpp"
#include "online/textos.hpp"
#include "ports/keys.hpp"

namespace veldrisa {
namespace {

using Tipo = MensajeServidor::Tipo;
using Kind = ConnectionEvent::Kind;

// The server keeps a lost seat two minutes: the client tries for a little longer than that.
constexpr int IntentosMaximos = 30;
constexpr auto EsperaMaxima = std::chrono::milliseconds(5000);

// The rooms' sounds, beside the program as for the local game.
const char* const Sonidos[4] = {"fuego.wav", "Vaso rompiéndose.mp3", "Pasar páginas.mp3", "Ronquido.mp3"};

std::chrono::milliseconds EsperaReintento(int intento) {
    return std::min(EsperaMaxima, std::chrono::milliseconds(500 << std::min(intento, 4)));
}

bool CodigoValido(const std::string& c) {
    return c.size() >= 4 && c.size() <= 12 && std::all_of(c.begin(), c.end(), [](char x) {
               return (x >= '0' && x <= '9') || (x >= 'a' && x <= 'z') || (x >= 'A' && x <= 'Z');
           });
}

}  // namespace

Cliente::Cliente(Voz& voz, Platform& plataforma, Connection& conexion, OpcionesEnLinea opciones)
    : voz_(voz),
      plataforma_(plataforma),
      conexion_(conexion),
      opciones_(std::move(opciones)),
      huellas_(opciones_.archivoHuellas) {}

void Cliente::Entra() {
    Habla(voz_, "Jugar en línea.", false, false);
    auto d = LeeDireccion(opciones_.servidor);
    if (d && !opciones_.servidor.empty())
        Conecta(*d);
    else
        PideDireccion();
}

void Cliente::Pide(Pregunta p, std::string titulo, std::string indicacion, std::string_view inicial) {
    pregunta_ = p;
    Habla(voz_, indicacion + " " + std::string(inicial), true, false);
    if (voz_.observador) voz_.observador->dialogOpened(titulo, indicacion, inicial);
    campo_ = AbreCampo(std::move(titulo), std::move(indicacion), inicial);
}

void Cliente::PideDireccion() {
    conexion_.close();
    paso_ = PasoEnLinea::Direccion;
    token_.clear();
    estado_ = "Jugar en línea";
    const std::string inicial =
        direccion_.nombre.empty() ? Direccion{"localhost"}.Texto() : direccion_.Texto();
    Pide(Pregunta::Direccion, "Jugar en línea", "Escriba la dirección del servidor y pulse enter:", inicial);
}

void Cliente::Texto(std::string_view texto) {
    if (campo_) EscribeEnCampo(voz_, *campo_, texto);
}

void Cliente::Responde(std::string texto) {
    if (!campo_) return;
    campo_.reset();
    if (texto.empty() || !TieneVisibles(texto))
        Cancela(pregunta_);
    else
        Acepta(pregunta_, texto);
}

void Cliente::Acepta(Pregunta p, const std::string& texto) {
    switch (p) {
        case Pregunta::Direccion:
            if (auto d = LeeDireccion(texto)) return Conecta(*d);
            Habla(voz_,
                  "Esa dirección no es válida: escriba el nombre del servidor y su puerto, como "
                  "localhost:7531.",
                  false, false);
            return Pide(Pregunta::Direccion, "Jugar en línea",
                        "Escriba la dirección del servidor y pulse enter:", texto);
        case Pregunta::Nombre: nombre_ = texto; return AbreLista();
        case Pregunta::CodigoUnirse:
            if (cursorMesa_ < mesas_.size())
                Envia(MensajeUnirse(mesas_[cursorMesa_].id, espectador_, nombre_, texto));
            return;
        case Pregunta::CodigoNueva:
            if (!CodigoValido(texto)) {
                Habla(voz_, "El código debe tener de 4 a 12 letras o cifras, sin acentos.", false, false);
                return Pide(Pregunta::CodigoNueva, "Mesa privada",
                            "Escriba el código de la mesa y pulse enter:", texto);
            }
            nuevoCodigo_ = texto;
            paso_ = PasoEnLinea::NuevoLimite;
            return Habla(
                voz_, "Límite de tiempo para cada elección: " + DescribeLimite(LimitesDeTiempo[nuevoLimite_]),
                false, false);
        case Pregunta::NombrePersonaje: Envia(MensajeRenombra(cursorPersonaje_, texto)); return;
    }
}

void Cliente::Cancela(Pregunta p) {
    Habla(voz_, "Cancelado", false, false);
    switch (p) {
        case Pregunta::Direccion: paso_ = PasoEnLinea::Fuera; return;
        case Pregunta::Nombre: conexion_.close(); return PideDireccion();
        case Pregunta::CodigoNueva: paso_ = PasoEnLinea::Lista; return;
        case Pregunta::CodigoUnirse:
        case Pregunta::NombrePersonaje: return;
    }
}

void Cliente::Conecta(const Direccion& d) {
    direccion_ = d;
    paso_ = PasoEnLinea::Conectando;
    estado_ = "Conectando con " + d.Texto();
    Habla(voz_, estado_, false, false);
    conexion_.open(d.nombre, d.puerto, huellas_.Busca(d.Texto()), {});
}

void Cliente::Red() {
    while (auto e = conexion_.poll()) Atiende(*e);
}

void Cliente::Atiende(const ConnectionEvent& e) {
    if (paso_ == PasoEnLinea::Fuera) return;
    switch (e.kind) {
        case Kind::Opened: return Abierta(e);
        case Kind::Message: return AtiendeMensaje(LeeMensaje(e.text));
        case Kind::Closed:
        case Kind::Failed: return Perdida(e);
    }
}

// Nothing is sent to a server whose certificate nobody vouches for until the player confirms it.
void Cliente::Abierta(const ConnectionEvent& e) {
    if (!e.trusted && huellas_.Busca(direccion_.Texto()) != e.fingerprint) {
        huellaNueva_ = e.fingerprint;
        paso_ = PasoEnLinea::Huella;
        estado_ = "Huella del certificado: " + HuellaHablada(e.fingerprint);
        return Habla(voz_, TextoHuellaNueva(direccion_.Texto(), e.fingerprint), false, false);
    }
    Saluda();
}

// A player at a table, started or not, has a place to come back to: anywhere else the client
// starts afresh.
void Cliente::Saluda() {
    Envia(MensajeHola(paso_ == PasoEnLinea::Reconectando && !mesa_.id.empty() ? token_ : "", vistos_));
}

void Cliente::Perdida(const ConnectionEvent& e) {
    const std::string servidor = direccion_.Texto();
    if (e.kind == Kind::Failed && e.fault == ConnectionFault::Certificate &&
        !huellas_.Busca(servidor).empty() && !e.fingerprint.empty() &&
        e.fingerprint != huellas_.Busca(servidor)) {
        Habla(voz_, TextoHuellaCambiada(servidor, huellas_.archivo()), false, false);
        return PideDireccion();
    }
    const ConnectionFault fallo = e.kind == Kind::Closed ? ConnectionFault::Lost : e.fault;
    // Once welcomed, a loss is worth trying again: the server keeps the seat for a while.
    if (!token_.empty()) return Reintenta(fallo);
    Habla(voz_, TextoFallo(fallo, servidor), false, false);
    PideDireccion();
}

void Cliente::Reintenta(ConnectionFault fallo) {
    campo_.reset();
    if (paso_ != PasoEnLinea::Reconectando) {
        paso_ = PasoEnLinea::Reconectando;
        intentos_ = 0;
        estado_ = "Conexión perdida, reintentando";
        HablaAparte(estado_);
    } else if (++intentos_ >= IntentosMaximos) {
        Habla(voz_, "No se ha podido volver a conectar. " + TextoFallo(fallo, direccion_.Texto()), false,
              false);
        for (int s = 1; s <= 4; ++s) Sonido(s, false);
        return PideDireccion();
    }
    conexion_.open(direccion_.nombre, direccion_.puerto, huellas_.Busca(direccion_.Texto()),
                   EsperaReintento(intentos_));
}

void Cliente::AtiendeMensaje(const MensajeServidor& m) {
    switch (m.tipo) {
        case Tipo::Bienvenida: return Bienvenida(m);
        case Tipo::Error: return Rechazo(m);
        case Tipo::Mesas: return Mesas(m);
        case Tipo::Mesa: return Mesa(m.mesa);
        case Tipo::Di: ++vistos_; return Habla(voz_, m.texto, m.antes, m.despues);
        case Tipo::Sonido: ++vistos_; return Sonido(m.sonido, m.suena);
        case Tipo::Log:
            ++vistos_;
            log_ = m.texto;
            return;
        case Tipo::Pitido:
            ++vistos_;
            plataforma_.beeper.beep();
            return;
        case Tipo::Historial: return Historial(m);
        case Tipo::Adios:
            // A server going down is coming back: its Closed event tries again. Any other goodbye
            // (the seat taken by another connection of the same player) ends the visit.
            Habla(voz_, m.texto, false, false);
            if (m.razon != "shutdown") Abandona("");
            return;
        case Tipo::Desconocido: return;
    }
}

void Cliente::Bienvenida(const MensajeServidor& m) {
    const bool reconecta = paso_ == PasoEnLinea::Reconectando;
    const bool vuelve = reconecta && !mesa_.id.empty() && token_ == m.token;
    token_ = m.token;
    intentos_ = 0;
    // Back at the table: the game's history and summary follow, or the table as it stands.
    if (vuelve) return;
    if (reconecta && !mesa_.id.empty()) Habla(voz_, "Ha perdido su sitio en la mesa.", false, false);
    if (nombre_.empty()) {
        paso_ = PasoEnLinea::Nombre;
        estado_ = "Su nombre";
        return Pide(Pregunta::Nombre, "Su nombre",
                    "Conectado. Escriba su nombre para las mesas y pulse enter:", "");
    }
    AbreLista();
}

void Cliente::Rechazo(const MensajeServidor& m) {
    if (m.razon == "token") {
        // The seat is gone (its table ended, or its wait ran out, while the client was away): a
        // fresh start in the hall.
        if (!mesa_.id.empty()) Habla(voz_, "Ha perdido su sitio en la mesa.", false, false);
        token_.clear();
        mesa_ = {};
        paso_ = PasoEnLinea::Conectando;
        return Saluda();
    }
    Habla(voz_, m.texto, false, false);
    if (m.razon == "version") {
        token_.clear();
        PideDireccion();
    }
}

void Cliente::AbreLista() {
    if (paso_ == PasoEnLinea::Juego)
        for (int s = 1; s <= 4; ++s) Sonido(s, false);
    paso_ = PasoEnLinea::Lista;
    mesa_ = {};
    log_.clear();
    estado_ = "Mesas";
    Envia(MensajeListaMesas());
}

void Cliente::Mesas(const MensajeServidor& m) {
    mesas_ = m.mesas;
    if (paso_ != PasoEnLinea::Lista) return;
    cursorMesa_ = std::min(cursorMesa_, mesas_.empty() ? 0 : mesas_.size() - 1);
    if (mesas_.empty())
        return Habla(voz_, "No hay ninguna mesa. Pulse N para crear una, R para ver la lista de nuevo.",
                     false, false);
    const std::string cuantas =
        mesas_.size() == 1 ? "Hay una mesa. " : "Hay " + std::to_string(mesas_.size()) + " mesas. ";
    Habla(voz_, cuantas + DescribeMesa(mesas_[cursorMesa_]), false, false);
}

void Cliente::Mesa(const EstadoMesa& mesa) {
    const bool entra = paso_ != PasoEnLinea::Mesa && paso_ != PasoEnLinea::Juego;
    mesa_ = mesa;
    if (mesa.empezada && paso_ != PasoEnLinea::Juego) {
        EntraEnJuego();
    } else if (!mesa.empezada && entra) {
        paso_ = PasoEnLinea::Mesa;
        cursorPersonaje_ = 1;
        const std::string quien = mesa.espectador ? "Mira la mesa " : "Está en la mesa ";
        const std::string evento = mesa.evento.empty() ? "" : mesa.evento + ". ";
        return Habla(voz_,
                     evento + quien + mesa.id + ". " +
                         (mesa.espectador ? "" : "Elija sus personajes con las flechas y Espacio. ") +
                         DescribePersonaje(mesa_.personajes[0]),
                     false, false);
    }
    if (!mesa.evento.empty()) Habla(voz_, mesa.evento, false, false);
}

void Cliente::EntraEnJuego() {
    paso_ = PasoEnLinea::Juego;
    mesa_.empezada = true;
    campo_.reset();
    vistos_ = 0;
    std::string carpeta = plataforma_.folders.programFolder();
    if (!carpeta.empty() && carpeta.back() != std::filesystem::path::preferred_separator)
        carpeta += static_cast<char>(std::filesystem::path::preferred_separator);
    for (int s = 1; s <= 4; ++s) plataforma_.sounds[s - 1]->setFileName(carpeta + Sonidos[s - 1]);
}

void Cliente::Historial(const MensajeServidor& m) {
    // The game started while this seat was away.
    if (!mesa_.empezada) EntraEnJuego();
    paso_ = PasoEnLinea::Juego;
    // What was said while away is there to be read again, not heard now.
    for (const std::string& t : m.mensajes) {
        voz_.historial.Guarda(t);
        if (MasDeNCaracteres(t, 2)) voz_.UltimoMensaje = t;
    }
    // The window and the room sounds as they would stand had nothing been missed.
    vistos_ += static_cast<int>(m.perdidos.size());
    for (const MensajeServidor& p : m.perdidos) {
        if (p.tipo == Tipo::Log) log_ = p.texto;
        if (p.tipo == Tipo::Sonido) Sonido(p.sonido, p.suena);
    }
    HablaAparte(m.texto);
}

void Cliente::HablaAparte(const std::string& texto) {
    // F5 repeats what the game last said (its question, when it waits for this seat), as it would
    // had the connection held: the cut and the way back in are not the game's words.
    const std::string ultimo = voz_.UltimoMensaje;
    Habla(voz_, texto, false, false);
    if (!ultimo.empty()) voz_.UltimoMensaje = ultimo;
}

void Cliente::Sonido(int sonido, bool suena) {
    SoundPlayer* s = plataforma_.sounds[sonido - 1];
    if (suena)
        s->play();
    else
        s->stop();
}

void Cliente::Abandona(const std::string& aviso) {
    conexion_.close();
    token_.clear();
    if (!aviso.empty()) Habla(voz_, aviso, false, false);
    PideDireccion();
}

}  // namespace veldrisa
