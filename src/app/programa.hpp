// The whole program: the setup screen first, then the game window, one key at a time.
#pragma once

#include <memory>

#include "ports/platform.hpp"
#include "setup/formini.hpp"
#include "table/form1.hpp"

namespace veldrisa {

enum class Pantalla { Ninguna, Inicio, Juego, Terminada };

// Owns all the state of a run; both executables drive one of these with key events.
class Programa {
public:
    explicit Programa(Platform& plataforma);

    // Opens the setup screen. False, with nothing spoken, when no voice is installed.
    bool Inicia();
    // Handles one key event to its end.
    void Tecla(int tecla, int modificadores);
    // The window was closed from outside (its close button).
    void Cierra() { pantalla_ = Pantalla::Terminada; }

    Pantalla pantalla() const { return pantalla_; }
    bool Terminado() const { return pantalla_ == Pantalla::Terminada; }

    Platform& plataforma;
    Voz voz;
    Roster Personajes{};
    Generador rnd;
    FormIni formIni;
    Form1 form1;

private:
    void AbreJuego();

    Pantalla pantalla_ = Pantalla::Ninguna;
};

}  // namespace veldrisa
