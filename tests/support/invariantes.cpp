// The invariant check of the game state used by the fuzz target, the soak run and the tests.
#include "support/invariantes.hpp"

#include <algorithm>
#include <array>

namespace veldrisa {
namespace {

using Faltas = std::vector<std::string>;

void RevisaCartas(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    std::array<int, NumCartas + 1> vista{};
    auto anota = [&](int carta, const std::string& donde) {
        if (carta < 0 || carta > NumCartas) {
            faltas.push_back("card number " + std::to_string(carta) + " in " + donde);
            return;
        }
        if (carta > 0 && ++vista[static_cast<std::size_t>(carta)] == 2)
            faltas.push_back("card " + std::to_string(carta) + " is in two places");
    };
    for (int i = 0; i <= NumPersonajes; ++i) {
        anota(f.P(i).Carta1, "a hand");
        anota(f.P(i).Carta2, "a hand");
    }
    if (f.P(0).Carta1 != 0 || f.P(0).Carta2 != 0) faltas.push_back("nobody holds a card");
    for (int k = 1; k <= NumCartas; ++k) anota(m.Mazo[k], "the deck");
    for (int c = 1; c <= NumCartas; ++c) {
        if (vista[static_cast<std::size_t>(c)] != 0) continue;
        int sala = CartaNumero(m, c).Sala;
        if (sala < 1 || sala > 4 || m.SalaAbierta[sala])
            faltas.push_back("card " + std::to_string(c) + " is lost though its room is open");
    }
    if (!MazoCompacto(m)) faltas.push_back("the deck has a gap");
}

void RevisaSucesion(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    std::array<int, NumPersonajes + 1> veces{};
    for (int i = 1; i <= NumPersonajes; ++i) {
        int c = m.LineaSucesion[i];
        if (c < 1 || c > NumPersonajes || ++veces[static_cast<std::size_t>(c)] > 1) {
            faltas.push_back("the line of succession is not a permutation of 1..10");
            return;
        }
    }
    bool diaEnJuego = (m.Fase >= Fases::Informe && m.Fase <= Fases::Cartas) || m.Fase == Fases::Objetivo;
    if (m.Heredero < 1 || m.Heredero > NumPersonajes)
        faltas.push_back("the heir's position is out of the line");
    else if (diaEnJuego && !f.HerederoActual().Vivo)
        faltas.push_back("the heir is dead while a day is played");
}

// How many whole entries of the character a room's occupant list holds.
int Entradas(const std::string& ocupantes, int i) {
    const std::string entrada = EntradaOcupante(i);
    int n = 0;
    for (auto at = ocupantes.find(entrada); at != std::string::npos; at = ocupantes.find(entrada, at + 1))
        if (at == 0 || ocupantes[at - 1] == ' ') ++n;
    return n;
}

void RevisaSalas(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    for (int i = 1; i <= NumPersonajes; ++i) {
        const Personaje& p = f.P(i);
        if (!p.Vivo) continue;
        int enSuSala = 0, enOtras = 0;
        for (int s = 1; s <= 4; ++s) (s == p.Sala ? enSuSala : enOtras) += Entradas(m.OcupantesSala[s], i);
        if (enOtras != 0 || enSuSala != (p.Sala >= 1 ? 1 : 0))
            faltas.push_back("character " + std::to_string(i) + " and the rooms' occupants disagree");
    }
}

void RevisaTurno(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    static const int validas[] = {Fases::Informe, Fases::Salas,      Fases::Cartas,
                                  Fases::Resolucion, Fases::FinPartida, Fases::Objetivo};
    if (std::find(std::begin(validas), std::end(validas), m.Fase) == std::end(validas))
        faltas.push_back("phase " + std::to_string(m.Fase) + " does not exist");
    if (!m.OrdenDia.empty() && (m.Turno < 1 || m.Turno > f.Turnos()))
        faltas.push_back("the turn is outside the day's order");
}

}  // namespace

bool MazoCompacto(const Mesa& m) {
    bool hueco = false;
    for (int k = 1; k <= NumCartas; ++k) {
        if (m.Mazo[k] == 0)
            hueco = true;
        else if (hueco)
            return false;
    }
    return true;
}

std::vector<std::string> Incumplidas(Form1& f) {
    Faltas faltas;
    RevisaCartas(f, faltas);
    RevisaSucesion(f, faltas);
    RevisaSalas(f, faltas);
    RevisaTurno(f, faltas);
    return faltas;
}

}  // namespace veldrisa
