// Start-up and the hand-over from the setup screen to the game window.
#include "app/programa.hpp"

#include <algorithm>

#include "cards/nueva_partida.hpp"
#include "play/despachador.hpp"

namespace veldrisa {

Programa::Programa(Platform& p)
    : plataforma(p),
      voz{&p.speech, p.observer, {""}, 0, {}},
      formIni{voz, Personajes, rnd, p.dialog, 0},
      form1{voz, Personajes, rnd, p, Mesa{}, false} {}

bool Programa::Inicia() {
    // Without a voice nothing could ever be heard: refuse before anything is spoken.
    const auto voces = plataforma.speech.voiceDescriptions();
    if (std::none_of(voces.begin(), voces.end(), [](const std::string& d) { return !d.empty(); })) return false;

    pantalla_ = Pantalla::Inicio;
    if (plataforma.observer) plataforma.observer->screenOpened("setup");
    CargaFormIni(formIni);
    return true;
}

void Programa::Tecla(int tecla, int modificadores) {
    switch (pantalla_) {
    case Pantalla::Inicio:
        switch (TeclaFormIni(formIni, tecla, modificadores)) {
        case SalidaFormIni::AbreJuego: AbreJuego(); break;
        case SalidaFormIni::Cierra: pantalla_ = Pantalla::Terminada; break;
        case SalidaFormIni::Sigue: break;
        }
        break;
    case Pantalla::Juego:
        TeclaForm1(form1, tecla, modificadores);
        if (form1.Cerrada) pantalla_ = Pantalla::Terminada;
        break;
    case Pantalla::Ninguna:
    case Pantalla::Terminada: break;
    }
}

void Programa::AbreJuego() {
    pantalla_ = Pantalla::Juego;
    formIni.PersonajeActual = 0;
    if (plataforma.observer) plataforma.observer->screenOpened("game");
    NuevaPartida(form1);
}

}  // namespace veldrisa
