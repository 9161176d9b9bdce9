// The invariant checker on broken games: each kind of corruption is reported, a sound game is not.
#include "support/invariantes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

// The last deck slot that holds a card (the deck is compact, so every slot before it does too).
int UltimaDelMazo(Mesa& m) {
    int k = NumCartas;
    while (k > 1 && m.Mazo[k] == 0) --k;
    return k;
}

// A character of the day other than the heir, and a room it is not in.
int Otro(Partida& p) { return p.f().HerederoActual().Indice % NumPersonajes + 1; }
int OtraSala(Partida& p, int i) { return p.P(i).Sala % p.mesa().NumSalas + 1; }

struct Rotura {
    const char* que;
    bool enLasSalas;  // broken after the room phase rather than on the morning's report
    std::function<void(Partida&)> rompe;
    const char* aviso;  // what the report must say
};

const Rotura Roturas[] = {
    {"a hand's card also in the deck", false, [](Partida& p) { p.mesa().Mazo[1] = p.P(4).Carta1; },
     "is in two places"},
    {"a card dropped from a hand", false, [](Partida& p) { p.P(2).Carta2 = 0; },
     "is lost though its room is open"},
    {"a card number beyond the catalogue", false, [](Partida& p) { p.P(3).Carta1 = 41; },
     "card number 41 in a hand"},
    {"nobody holding a card", false,
     [](Partida& p) {
         Mesa& m = p.mesa();
         const int k = UltimaDelMazo(m);
         p.P(0).Carta1 = m.Mazo[k];
         m.Mazo[k] = 0;
     },
     "nobody holds a card"},
    {"a gap in the deck", false,
     [](Partida& p) {
         Mesa& m = p.mesa();
         const int k = UltimaDelMazo(m);
         m.Mazo[k + 2] = m.Mazo[1];
         m.Mazo[1] = 0;
     },
     "the deck has a gap"},
    {"a character twice in the line", false,
     [](Partida& p) { p.mesa().LineaSucesion[2] = p.mesa().LineaSucesion[1]; },
     "the line of succession is not a permutation of 1..10"},
    {"the heir's place past the line", false, [](Partida& p) { p.mesa().Heredero = 11; },
     "the heir's position is out of the line"},
    {"a dead heir during the day", false, [](Partida& p) { p.f().HerederoActual().Vivo = false; },
     "the heir is dead while a day is played"},
    {"a character in one room but listed in another", true, [](Partida& p) { p.P(5).Sala = OtraSala(p, 5); },
     "character 5 and the rooms' occupants disagree"},
    {"a character listed in two rooms", true,
     [](Partida& p) {
         const int i = Otro(p);
         p.mesa().OcupantesSala[OtraSala(p, i)] += EntradaOcupante(i);
     },
     "is listed twice among the occupants"},
    {"an occupant list with a broken entry", true, [](Partida& p) { p.mesa().OcupantesSala[1] += "07;"; },
     "room 1's occupants are not a list of entries"},
    {"an occupant list naming nobody of the game", true,
     [](Partida& p) { p.mesa().OcupantesSala[2] += "011; "; },
     "room 2's occupants are not a list of entries"},
    {"a room chosen on the morning's report", false,
     [](Partida& p) {
         p.P(6).Sala = 2;
         p.mesa().OcupantesSala[2] += EntradaOcupante(6);
     },
     "character 6 is in a room before the room phase"},
    {"a dead character still in its room", true,
     [](Partida& p) {
         const int i = Otro(p);
         p.P(i).Vivo = false;
         std::erase(p.mesa().OrdenDia, static_cast<std::int16_t>(i));
         p.mesa().Turno = static_cast<std::int16_t>(p.f().Turnos());
     },
     "is dead and in a room"},
    {"a room closed under a character", true,
     [](Partida& p) {
         p.mesa().SalaAbierta[4] = false;
         p.mesa().NumSalas = 3;
         p.P(Otro(p)).Sala = 4;
         p.ocupantesSegunSalas();
     },
     "is in room 4, which is not open"},
    {"open rooms against their count", false, [](Partida& p) { p.mesa().NumSalas = 3; },
     "room 4 is open or closed against the count of open rooms"},
    {"a day with one character alive", false,
     [](Partida& p) {
         for (int i = 1; i <= NumPersonajes; ++i) p.P(i).Vivo = i == p.f().HerederoActual().Indice;
     },
     "a day is played with fewer than two alive"},
    {"the night's phase between two keys", true, [](Partida& p) { p.mesa().Fase = Fases::Resolucion; },
     "phase 4 never waits for a key"},
    {"a phase that does not exist", false, [](Partida& p) { p.mesa().Fase = static_cast<Fases>(7); },
     "phase 7 never waits for a key"},
    {"the turn past the day's order", true, [](Partida& p) { p.mesa().Turno = 11; },
     "the turn is outside the day's order"},
};

TEST(Incumplidas, EachCorruptionOfASoundGameIsReported) {
    for (const Rotura& r : Roturas) {
        SCOPED_TRACE(r.que);
        Partida p;
        if (r.enLasSalas) p.teclas({"SPACE"});
        ASSERT_EQ(Incumplidas(p.f()), std::vector<std::string>{}) << "the game is sound before it is broken";
        r.rompe(p);
        const auto faltas = Incumplidas(p.f());
        const bool dicho = std::ranges::any_of(
            faltas, [&](const std::string& f) { return f.find(r.aviso) != std::string::npos; });
        EXPECT_TRUE(dicho) << "reported: " << ::testing::PrintToString(faltas);
    }
}

}  // namespace
}  // namespace veldrisa
