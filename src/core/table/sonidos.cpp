// The room sounds of the report, the night and a player's turn.
#include "table/sonidos.hpp"

namespace veldrisa {

void SuenaFuego(Form1& f) {
    f.Sonido(3).stop();
    f.Sonido(4).stop();
    f.Sonido(1).play();
}

void SonidoDeSala(Form1& f, int sala) {
    f.Sonido(1).stop();
    f.Sonido(3).stop();
    f.Sonido(4).stop();
    f.Sonido(sala).play();
}

}  // namespace veldrisa
