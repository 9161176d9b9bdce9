// The game window: the game table's state and the procedures that play on it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/generador.hpp"
#include "ports/platform.hpp"
#include "roster/personajes.hpp"
#include "speech/voz.hpp"

namespace veldrisa {

// Card kinds.
namespace TipoCarta {
constexpr int Llaves = 1;
constexpr int CambioHeredero = 2;
constexpr int CambioCarta = 3;
constexpr int Escondite = 4;
constexpr int AtaqueFuerte = 5;
constexpr int AtaqueDebil = 6;
constexpr int DefensaFuerte = 7;
constexpr int DefensaDebil = 8;
}  // namespace TipoCarta

// The computer reads a hand as 10 x the first card's kind + the second's: 11..88.
constexpr int MayorCombinacion = 10 * TipoCarta::DefensaDebil + TipoCarta::DefensaDebil;

// How much of a card's text the logs show, in characters: the status report, the card log.
constexpr std::size_t LargoCartaEnInforme = 50;
constexpr std::size_t LargoCartaEnLog = 30;

// One card of the catalogue; entry 0 of the catalogue holds no card.
struct Carta {
    std::int16_t Numero = 0;
    std::int32_t Tipo = 0;
    std::string Texto;
    std::int32_t Sala = 0;
    bool ConObjetivo = false;
    // Where those first characters of Texto end, in bytes: worked out once, shown every day.
    std::size_t FinEnInforme = 0, FinEnLog = 0;

    std::string_view TextoEnInforme() const { return std::string_view(Texto).substr(0, FinEnInforme); }
    std::string_view TextoEnLog() const { return std::string_view(Texto).substr(0, FinEnLog); }
};

constexpr int NumCartas = 40;
constexpr int SinSala = -1;

// Phases of the day.
namespace Fases {
constexpr int Informe = 1;
constexpr int Salas = 2;
constexpr int Cartas = 3;
constexpr int Resolucion = 4;
constexpr int FinPartida = 5;
constexpr int Objetivo = 31;
}  // namespace Fases

// An array indexed from Lo to Hi, as the game table's fields are.
template <typename T, int Lo, int Hi>
struct Indexado {
    std::array<T, Hi - Lo + 1> v{};
    T& operator[](int i) { return v.at(static_cast<std::size_t>(i - Lo)); }
    const T& operator[](int i) const { return v.at(static_cast<std::size_t>(i - Lo)); }
};

// The state the game window keeps between key presses; all zero before the first game.
struct Mesa {
    Indexado<std::int16_t, 1, 10> LineaSucesion;
    std::int16_t Heredero = 0;
    std::vector<Carta> Cartas;
    Indexado<std::int16_t, 1, NumCartas> Mazo;
    std::int16_t PersonajeEnTurno = 0;
    std::int16_t Fase = 0;
    std::vector<std::int16_t> OrdenDia;  // positions 1..n, stored from 0
    std::int16_t Turno = 0;
    Indexado<std::string, -1, 4> NombreSala;
    Indexado<std::string, 1, 4> OcupantesSala;
    Indexado<bool, -1, 4> SalaAbierta;
    std::int16_t NumSalas = 0;
    Indexado<std::int16_t, 1, 10> Objetivos;
    std::int16_t NumObjetivos = 0;
    bool DescripcionCorta = false;
    std::string Label1;  // the text log shown in the window
};

inline const Carta& CartaNumero(const Mesa& m, int numero) {
    return m.Cartas.at(static_cast<std::size_t>(numero));
}

// The game window: its table plus the shared state and ports its procedures reach.
struct Form1 {
    Voz& voz;
    Roster& Personajes;
    Generador& rnd;
    Platform& plataforma;
    Mesa mesa;
    bool Cerrada = false;  // set by Escape or Alt+F4: the program ends

    Personaje& P(int i) { return Personajes.at(static_cast<std::size_t>(i)); }
    int Turnos() const { return static_cast<int>(mesa.OrdenDia.size()); }
    // The character OrdenDia(Turno): the one whose choice is awaited or was taken last.
    Personaje& Actual() { return P(mesa.OrdenDia.at(static_cast<std::size_t>(mesa.Turno - 1))); }
    Personaje& HerederoActual() { return P(mesa.LineaSucesion[mesa.Heredero]); }
    void Habla(std::string_view texto, bool antes = false, bool despues = false) {
        veldrisa::Habla(voz, texto, antes, despues);
    }
    SoundPlayer& Sonido(int sala) { return *plataforma.sounds[sala - 1]; }
};

// table/
void NuevaPartida(Form1& f);
inline void Intercambia(std::int16_t& a, std::int16_t& b) { std::swap(a, b); }
void TeclaForm1(Form1& f, int tecla, int modificadores);
void FinPartida(Form1& f, int Desenlace, int Ganador);
void NuevaPartidaTrasFin(Form1& f);
// "0" & index & "; ": a character's entry in a room's occupant list.
std::string EntradaOcupante(int indice);
// Whether a room's occupant list holds the character (a search for "0" & index & ";").
bool EstaEnSala(const std::string& ocupantes, int indice);

// cards/
void CargaDatos(Form1& f);
void AgregaCarta(Mesa& m, std::string_view texto, int tipo, bool conObjetivo, int sala);
std::string TextoCarta(const Mesa& m, int numero);
void BarajaMazo(Mesa& m, Generador& rnd);
void CompactaMazo(Mesa& m);
void InformeAspirantes(Form1& f);
void FaseSalas(Form1& f, bool PrimeraVez);

// play/
void FaseCartas(Form1& f, bool PrimeraVez);
void ResuelveDia(Form1& f);

}  // namespace veldrisa
