// The invariant check of the game state used by the fuzz target, the soak run and the tests.
#include "support/invariantes.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "table/ocupantes.hpp"

namespace veldrisa {
namespace {

using Faltas = std::vector<std::string>;

// From the morning's report to the last card chosen.
bool DiaEnJuego(const Mesa& m) {
    return (m.Fase >= Fases::Informe && m.Fase <= Fases::Cartas) || m.Fase == Fases::Objetivo;
}

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
    if (m.Heredero < 1 || m.Heredero > NumPersonajes)
        faltas.push_back("the heir's position is out of the line");
    else if (DiaEnJuego(m) && !f.HerederoActual().Vivo)
        faltas.push_back("the heir is dead while a day is played");
}

// The character of the entry "0<index>; " that starts at k of an occupant list, k moved past it;
// 0 when no whole entry of a character starts there.
int Entrada(const std::string& lista, std::size_t& k) {
    const std::size_t fin = lista.find("; ", k);
    if (fin == std::string::npos || fin <= k + 1 || lista[k] != '0') return 0;
    int i = 0;
    if (std::from_chars(lista.data() + k + 1, lista.data() + fin, i).ptr != lista.data() + fin) return 0;
    k = fin + 2;
    return i >= 1 && i <= NumPersonajes ? i : 0;
}

// The occupant lists are runs of entries that say exactly where each character went.
void RevisaSalas(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    std::array<int, NumPersonajes + 1> listado{};  // the room whose list holds the character, or 0
    for (int s = 1; s <= 4; ++s) {
        const std::string& lista = m.OcupantesSala[s];
        for (std::size_t k = 0; k < lista.size();) {
            const int i = Entrada(lista, k);
            if (i == 0) {
                faltas.push_back("room " + std::to_string(s) +
                                 "'s occupants are not a list of entries: " + lista);
                break;
            }
            if (listado[static_cast<std::size_t>(i)] != 0)
                faltas.push_back("character " + std::to_string(i) + " is listed twice among the occupants");
            listado[static_cast<std::size_t>(i)] = s;
        }
    }
    for (int i = 1; i <= NumPersonajes; ++i) {
        const int sala = f.P(i).Sala;
        if (listado[static_cast<std::size_t>(i)] != (sala >= 1 ? sala : 0))
            faltas.push_back("character " + std::to_string(i) + " and the rooms' occupants disagree");
    }
}

// The open rooms are the first NumSalas. While a day is played: at least two alive, nobody in a
// room before the room phase, the living only in open rooms and the dead in none.
void RevisaDia(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    for (int s = 1; s <= 4; ++s)
        if (m.SalaAbierta[s] != (s <= m.NumSalas))
            faltas.push_back("room " + std::to_string(s) +
                             " is open or closed against the count of open rooms");
    if (!DiaEnJuego(m)) return;
    int vivos = 0;
    for (int i = 1; i <= NumPersonajes; ++i) {
        const Personaje& p = f.P(i);
        vivos += p.Vivo ? 1 : 0;
        const std::string quien = "character " + std::to_string(i);
        if (p.Sala == SinSala) continue;
        if (!p.Vivo)
            faltas.push_back(quien + " is dead and in a room");
        else if (m.Fase == Fases::Informe)
            faltas.push_back(quien + " is in a room before the room phase");
        else if (p.Sala < 1 || p.Sala > 4 || !m.SalaAbierta[p.Sala])
            faltas.push_back(quien + " is in room " + std::to_string(p.Sala) + ", which is not open");
    }
    if (vivos < 2) faltas.push_back("a day is played with fewer than two alive");
}

void RevisaTurno(Form1& f, Faltas& faltas) {
    const Mesa& m = f.mesa;
    // The night is resolved within the key that ends the card phase: no key ever finds it.
    static const Fases validas[] = {Fases::Informe, Fases::Salas, Fases::Cartas, Fases::FinPartida,
                                    Fases::Objetivo};
    if (std::find(std::begin(validas), std::end(validas), m.Fase) == std::end(validas))
        faltas.push_back("phase " + std::to_string(static_cast<int>(m.Fase)) + " never waits for a key");
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
    RevisaDia(f, faltas);
    RevisaTurno(f, faltas);
    return faltas;
}

}  // namespace veldrisa
