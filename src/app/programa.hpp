// The whole program: the setup screen first, then the game window, one key at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "online/cliente.hpp"
#include "ports/connection.hpp"
#include "ports/platform.hpp"
#include "setup/formini.hpp"
#include "speech/ayuda.hpp"
#include "table/form1.hpp"

namespace veldrisa {

enum class Pantalla { Ninguna, Inicio, Juego, EnLinea, Terminada };

// Owns all the state of a run; both executables drive one of these with key events.
class Programa {
public:
    explicit Programa(Platform& plataforma);

    // Offers "Jugar en línea" on the setup screen, over this connection.
    void PermiteEnLinea(Connection& conexion, OpcionesEnLinea opciones);
    // Opens the setup screen. False, with nothing spoken, when no voice is installed.
    bool Inicia();
    // Handles one key event to its end.
    void Tecla(int tecla, int modificadores);
    // Text typed on the keyboard: it goes into the open text field, and means nothing otherwise.
    void Texto(std::string_view texto);
    // The open text field, if any.
    const CampoTexto* Campo() const;
    // Closes the open text field with this answer, as if typed and confirmed; "" cancels.
    void Responde(std::string texto);
    // The window was closed from outside (its close button).
    void Cierra() { pantalla_ = Pantalla::Terminada; }
    // What the network delivered, handled between two keys.
    void Red();
    // The online client, once the player may play online.
    const Cliente* enLinea() const { return enLinea_.get(); }

    Pantalla pantalla() const { return pantalla_; }
    // The keys that work now, on the screen open and in its phase.
    LineaAyuda Ayuda();
    bool Terminado() const { return pantalla_ == Pantalla::Terminada; }

    Platform& plataforma;
    Voz voz;
    Roster Personajes{};
    Generador rnd;
    FormIni formIni;
    Form1 form1;
    // The room sounds' level in percent, 0 silent.
    int NivelSonidos = SoundPlayer::DefaultVolume;

private:
    void AbreJuego();
    // The keys that work alike on both screens, where the screens themselves do nothing:
    // help, the message history, the room sounds' level. False for any other key.
    bool TeclaComun(int tecla);
    void CambiaNivelSonidos(int paso);
    void TeclaEnLinea(int tecla, int modificadores);
    void VuelveAInicio();

    std::unique_ptr<Cliente> enLinea_;

    Pantalla pantalla_ = Pantalla::Ninguna;
};

}  // namespace veldrisa
