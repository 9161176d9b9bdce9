// The online game by ear: the server's address, its certificate, the hall's tables, a table's
// characters, then the game as the server tells it, through the same voice, sounds and history
// as the local game. Platform-free: the network arrives through the Connection port.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "online/direccion.hpp"
#include "online/huellas.hpp"
#include "online/mensajes.hpp"
#include "ports/connection.hpp"
#include "ports/platform.hpp"
#include "ports/view.hpp"
#include "speech/ayuda.hpp"
#include "speech/campo_texto.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

// The time limits a new table may have, in seconds; 0 is none.
constexpr std::array<int, 4> LimitesDeTiempo = {0, 30, 60, 120};

struct OpcionesEnLinea {
    std::string servidor;        // from --server: connect at once, without asking
    std::string archivoHuellas;  // the confirmed certificates (empty: this run only)
};

enum class PasoEnLinea {
    Fuera,         // not online
    Direccion,     // the address field is open
    Conectando,    // waiting for the connection and the server's welcome
    Huella,        // the player is asked to confirm a certificate
    Nombre,        // the player's name field is open
    Lista,         // the hall's tables
    NuevaMesa,     // choosing a new table's privacy
    NuevoLimite,   // choosing a new table's time limit
    Mesa,          // at a table, before its start
    Juego,         // the game
    Reconectando,  // the connection was lost: trying again
};

enum class SalidaEnLinea { Sigue, Vuelve, Sale };

class Cliente {
public:
    Cliente(Voz& voz, Platform& plataforma, Connection& conexion, OpcionesEnLinea opciones);

    // "Jugar en línea" from the setup screen.
    void Entra();
    // A key: Vuelve returns to the setup screen, Sale ends the program.
    SalidaEnLinea Tecla(int tecla, int modificadores);
    void Texto(std::string_view texto);
    // Closes the open field with this answer, as if typed and confirmed; "" cancels.
    void Responde(std::string texto);
    // Everything the connection has delivered, in order.
    void Red();

    const CampoTexto* Campo() const { return campo_ ? &*campo_ : nullptr; }
    PasoEnLinea paso() const { return paso_; }
    // In the game, F1 is the server's: it knows which keys work at this moment.
    bool EnJuego() const { return paso_ == PasoEnLinea::Juego; }
    LineaAyuda Ayuda() const;
    // The window's view of the step, without the field.
    View Vista() const;

private:
    enum class Pregunta { Direccion, Nombre, CodigoUnirse, CodigoNueva, NombrePersonaje };

    void Pide(Pregunta p, std::string titulo, std::string indicacion, std::string_view inicial);
    void PideDireccion();
    void Acepta(Pregunta p, const std::string& texto);
    void Cancela(Pregunta p);
    void Conecta(const Direccion& d);
    void Atiende(const ConnectionEvent& e);
    void Abierta(const ConnectionEvent& e);
    void Saluda();
    void Perdida(const ConnectionEvent& e);
    void Reintenta(ConnectionFault fallo);
    void AtiendeMensaje(const MensajeServidor& m);
    void Bienvenida(const MensajeServidor& m);
    void Rechazo(const MensajeServidor& m);
    void Mesas(const MensajeServidor& m);
    void Mesa(const EstadoMesa& mesa);
    void EntraEnJuego();
    void Historial(const MensajeServidor& m);
    void HablaAparte(const std::string& texto);
    void Sonido(int sonido, bool suena);
    void AbreLista();
    void Abandona(const std::string& aviso);
    void Envia(const std::string& mensaje) { conexion_.send(mensaje); }

    SalidaEnLinea TeclaPaso(int tecla, int modificadores);
    void TeclaLista(int tecla);
    void TeclaNuevaMesa(int tecla);
    void TeclaMesa(int tecla);
    void TeclaJuego(int tecla, int modificadores);
    void MueveMesa(int paso);
    void MuevePersonaje(int paso);
    void Unirse(bool espectador);
    void Reclama();

    Voz& voz_;
    Platform& plataforma_;
    Connection& conexion_;
    OpcionesEnLinea opciones_;
    Huellas huellas_;

    PasoEnLinea paso_ = PasoEnLinea::Fuera;
    std::optional<CampoTexto> campo_;
    Pregunta pregunta_ = Pregunta::Direccion;
    Direccion direccion_;
    std::string huellaNueva_;
    std::string token_;
    std::string nombre_;
    int intentos_ = 0;  // reconnections tried since the loss
    int vistos_ = 0;    // the game messages received for the seat, told to the server on return
    std::vector<MesaEnLista> mesas_;
    std::size_t cursorMesa_ = 0;
    bool espectador_ = false;  // the join waiting for its code is as a spectator
    bool nuevaPrivada_ = false;
    std::string nuevoCodigo_;
    std::size_t nuevoLimite_ = 0;
    EstadoMesa mesa_;
    int cursorPersonaje_ = 1;
    std::string log_;
    std::string estado_;  // what the window says while no list or log is shown
};

}  // namespace veldrisa
