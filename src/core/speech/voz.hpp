// The speech layer: the one voice, Habla, the last message and the voice controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/platform.hpp"
#include "speech/historial.hpp"

namespace veldrisa {

// Speech state shared by both windows for the whole run.
struct Voz {
    Voz(SpeechEngine* m, Observer* o) : motor(m), observador(o) {}

    SpeechEngine* motor = nullptr;
    Observer* observador = nullptr;
    std::vector<std::string> Voces{""};
    int VozActual = 0;  // a position in Voces, however many voices are installed
    std::string UltimoMensaje;
    Historial historial;
    // Who hears what is said, played or beeped now (Audiencia); see Destinatario.
    int Audiencia = Audiencia::Todos;
};

// While it lives, what the game says, plays or beeps is for one audience only: a character's
// player, or whoever pressed the key. Everything else the game does is for everyone.
class Destinatario {
public:
    Destinatario(Voz& v, int audiencia);
    ~Destinatario();
    Destinatario(const Destinatario&) = delete;
    Destinatario& operator=(const Destinatario&) = delete;

private:
    Voz& voz_;
    int anterior_;
};

void CreaVoces(Voz& v);
void BuscaVoces(Voz& v);

void Habla(Voz& v, std::string_view texto, bool EsperaAntes, bool EsperaDespues);
void Pronuncia(Voz& v, std::string_view texto);
// Speaks a text that is no message of the game (the key help, a message read again from the
// history): heard like any other, but neither kept for F5 nor in the history.
void Dice(Voz& v, std::string_view texto);

void BajaVelocidad(Voz& v, int modificadores);
void SubeVelocidad(Voz& v, int modificadores);
void VozAnterior(Voz& v);
void VozSiguiente(Voz& v);
void RepiteMensaje(Voz& v);
void Calla(Voz& v);

// Page Up, Page Down, Home and End: each speaks the message of the history reached, or the word
// for the end it is at. None changes the game or the message F5 repeats.
void MensajeAnterior(Voz& v);
void MensajeSiguiente(Voz& v);
void PrimerMensaje(Voz& v);
void MensajeMasReciente(Voz& v);

// The voice keys both windows share: Control silences, F7 / F8 slow down / speed up, F9 / F10
// the previous / next voice. False for any other key.
bool TeclaVoz(Voz& v, int tecla, int modificadores);

}  // namespace veldrisa
