// The game table's state: the cards, their kinds, the phases of the day and the Mesa itself.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/texto.hpp"

namespace veldrisa {

// Card kinds, 1..8 in this order; Ninguna is the empty card's, and a thrown-away card's at night.
enum class TipoCarta {
    Ninguna,
    Llaves,
    CambioHeredero,
    CambioCarta,
    Escondite,
    AtaqueFuerte,
    AtaqueDebil,
    DefensaFuerte,
    DefensaDebil,
};

// How much of a card's text the logs show, in characters: the status report, the card log.
constexpr std::size_t LargoCartaEnInforme = 50;
constexpr std::size_t LargoCartaEnLog = 30;

// One card of the catalogue; entry 0 of the catalogue holds no card.
struct Carta {
    TipoCarta Tipo = TipoCarta::Ninguna;
    std::string Texto;
    int Sala = 0;
    bool ConObjetivo = false;
    // Where those first characters of Texto end, in bytes: worked out once, shown every day.
    std::size_t FinEnInforme = 0, FinEnLog = 0;

    std::string_view TextoEnInforme() const { return std::string_view(Texto).substr(0, FinEnInforme); }
    std::string_view TextoEnLog() const { return std::string_view(Texto).substr(0, FinEnLog); }
};

constexpr int NumCartas = 40;
constexpr int SinSala = -1;

// Phases of the day, by the numbers the game has always shown for them; Ninguna before the first
// game. Resolucion lasts while the night is resolved, inside the key that ends the card phase.
enum class Fases : std::int16_t {
    Ninguna = 0,
    Informe = 1,
    Salas = 2,
    Cartas = 3,
    Resolucion = 4,
    FinPartida = 5,
    Objetivo = 31,
};

// An array indexed from Lo to Hi, as the game table's fields are.
template <typename T, int Lo, int Hi>
struct Indexado {
    std::array<T, Hi - Lo + 1> v{};
    T& operator[](int i) { return v.at(static_cast<std::size_t>(i - Lo)); }
    const T& operator[](int i) const { return v.at(static_cast<std::size_t>(i - Lo)); }
};

// A run of the text log and whose it is: 0 everyone's, 1..10 that character's own (its cards,
// its room, its choices), which only its player may read.
struct PiezaLog {
    int Dueno = 0;
    std::string Texto;
    bool operator==(const PiezaLog&) const = default;
};

// The state the game window keeps between key presses; all zero before the first game.
struct Mesa {
    Indexado<std::int16_t, 1, 10> LineaSucesion;
    std::int16_t Heredero = 0;
    std::vector<Carta> Cartas;
    Indexado<std::int16_t, 1, NumCartas> Mazo;
    Fases Fase = Fases::Ninguna;
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
    std::vector<PiezaLog> PiezasLog;  // Label1 cut by owner, in order: together they make Label1
};

inline void LimpiaLog(Mesa& m) {
    m.Label1.clear();
    m.PiezasLog.clear();
}

// Appends the pieces to the log, as the owner's.
template <typename... Piezas>
void AgregaLog(Mesa& m, int dueno, const Piezas&... piezas) {
    const std::size_t inicio = m.Label1.size();
    Agrega(m.Label1, piezas...);
    if (m.PiezasLog.empty() || m.PiezasLog.back().Dueno != dueno) m.PiezasLog.push_back({dueno, {}});
    m.PiezasLog.back().Texto.append(m.Label1, inicio);
}

inline const Carta& CartaNumero(const Mesa& m, int numero) {
    return m.Cartas.at(static_cast<std::size_t>(numero));
}

}  // namespace veldrisa
