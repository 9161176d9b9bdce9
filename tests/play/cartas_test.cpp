// The card phase: the computer's card and target, the player's prompt and sounds, the log of the cards.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

TEST(EleccionCarta, TheComputerPlaysWhatItsHandSays) {
    struct {
        const char* que;
        int c1, c2;
        bool agresivo, heredero;
        std::set<int> elegidas;  // over several seeds
    } const casos[] = {
        {"keys, heir", 1, 22, false, true, {1}},
        {"keys, not heir", 1, 22, false, false, {2}},
        {"change of heir and of card, heir", 2, 4, false, true, {2}},
        {"change of heir and of card, not heir", 2, 4, false, false, {1, 2}},
        {"change of heir and hiding place", 3, 6, false, true, {2}},
        {"change of heir and strong attack", 2, 16, false, false, {2}},
        {"change of heir and weak attack, heir", 2, 18, false, true, {2}},
        {"change of heir and weak defence, not heir", 3, 36, false, false, {1}},
        {"change of card and strong attack", 5, 12, false, false, {2}},
        {"change of card and weak attack", 4, 18, false, false, {1, 2}},
        {"change of card and weak defence", 5, 38, false, false, {1, 2}},
        {"hiding place and strong attack, aggressive", 8, 12, true, false, {2}},
        {"hiding place and strong attack, calm", 8, 12, false, false, {1}},
        {"hiding place and weak attack", 6, 18, true, false, {1}},
        {"hiding place and weak defence", 9, 40, true, false, {1}},
        {"strong and weak attack", 10, 18, false, false, {1}},
        {"strong attack and weak defence", 10, 34, false, false, {1}},
        {"strong attack and strong defence, aggressive", 10, 26, true, false, {1}},
        {"strong attack and strong defence, calm", 10, 26, false, false, {2}},
        {"weak attack and strong defence", 18, 26, true, false, {2}},
        {"weak attack and weak defence, aggressive", 18, 34, true, false, {1}},
        {"weak attack and weak defence, calm", 18, 34, false, false, {2}},
        {"strong and weak defence", 26, 34, true, false, {1}},
        {"an empty slot", 0, 18, true, false, {1}},
    };
    for (const auto& c : casos) {
        std::set<int> elegidas;
        for (std::uint32_t semilla = 1; semilla <= 8; ++semilla) {
            Partida p;
            p.salasHechas({1, 2, 3, 4, 5, 6, 7, 8}, {{7, 2}, {8, 2}});
            for (int i = 1; i <= 8; ++i) p.mano(i, 26, 27);
            p.mano(3, c.c1, c.c2);
            p.P(3).Agresivo = c.agresivo;
            p.mesa().LineaSucesion[p.mesa().Heredero] = c.heredero ? 3 : 6;
            p.f().rnd.Siembra(semilla * 2654435761u);
            p.teclas({"SPACE"});
            ASSERT_EQ(p.mesa().Fase, Fases::Cartas) << c.que;
            const Personaje& q = p.P(3);
            elegidas.insert(q.CartaElegida);
            const Carta& jugada = p.mesa().Cartas[q.CartaElegida == 1 ? q.Carta1 : q.Carta2];
            if (!jugada.ConObjetivo) {
                EXPECT_EQ(q.Objetivo, 0) << c.que;
            } else {
                EXPECT_NE(q.Objetivo, 3) << c.que;
                EXPECT_TRUE(p.P(q.Objetivo).Vivo) << c.que << ": target " << q.Objetivo;
                // A strong attack hits someone in the salón, where 3 is, whatever the card's room.
                if (jugada.Sala != SinSala) {
                    EXPECT_EQ(p.P(q.Objetivo).Sala, 1) << c.que;
                }
            }
        }
        EXPECT_EQ(elegidas, c.elegidas) << c.que;
    }
}

TEST(EleccionCarta, StrongAttackAloneInTheRoomHasNoTarget) {
    Partida p;
    p.salasHechas({1, 2, 3}, {{3, 4}});
    p.mano(3, 12, 18);
    p.teclas({"SPACE"});
    EXPECT_EQ(p.P(3).CartaElegida, 1);
    EXPECT_EQ(p.P(3).Objetivo, 0);
}

TEST(EleccionCarta, CharacterTenDoesNotSkewTheDrawInItsRoom) {
    std::map<int, std::map<int, int>> veces;  // attacker -> target -> draws
    for (std::uint32_t semilla = 1; semilla <= 300; ++semilla) {
        Partida p;
        p.salasHechas({10, 2, 5, 1, 3}, {{10, 2}, {2, 2}, {5, 2}});
        ASSERT_EQ(p.mesa().OcupantesSala[2], "010; 02; 05; ");
        p.mano(10, 12, 18);
        p.mano(2, 13, 19);
        p.mano(5, 10, 20);  // a strong attack of the salón: the target is still from the cocina
        p.mano(1, 26, 27);
        p.mano(3, 28, 29);
        p.f().rnd.Siembra(semilla * 2654435761u);
        p.teclas({"SPACE"});
        for (int a : {10, 2, 5}) ++veces[a][p.P(a).Objetivo];
    }
    const std::map<int, std::set<int>> posibles = {{10, {2, 5}}, {2, {10, 5}}, {5, {10, 2}}};
    for (const auto& [a, blancos] : posibles) {
        std::set<int> vistos;
        for (const auto& [o, n] : veces[a]) {
            vistos.insert(o);
            EXPECT_GT(n, 100) << a << " hit " << o;
        }
        EXPECT_EQ(vistos, blancos) << "attacker " << a;
    }
}

TEST(FaseCartas, LogShowsRoomCountsCutTextsAndTargets) {
    Partida p;
    p.salasHechas({4, 10, 1, 2, 5, 3}, {{10, 2}, {2, 2}, {5, 2}});
    p.mano(4, 18, 34);   // aggressive: the weak attack
    p.mano(10, 12, 26);  // calm: the defence
    p.mano(1, 26, 27);
    p.mano(2, 8, 27);
    p.mano(5, 30, 31);
    p.mano(3, 29, 33);
    p.teclas({"SPACE"});
    const std::string salon = "(En El salón 3) usa la carta ", cocina = "(En La cocina 3,25) usa la carta ";
    const std::string nadie = " contra Nadie en especial\r\n";
    EXPECT_EQ(p.mesa().Label1, "Carttas seleccionadas \r\n" + p.nombre(4) + salon +
                                   "Ataque débil, Revólver: Es una contra " + p.nombre(p.P(4).Objetivo) +
                                   "\r\n" + p.nombre(10) + cocina + "Defensa fuerte, Sexto sentido:" + nadie +
                                   p.nombre(1) + salon + "Defensa fuerte, Sexto sentido:" + nadie +
                                   p.nombre(2) + cocina + "Escondite, cocina:Entrando por" + nadie +
                                   p.nombre(5) + cocina + "Defensa fuerte, Olfato canino:" + nadie +
                                   p.nombre(3) + salon + "Defensa fuerte, Intuición: ¿Re" + nadie);
    EXPECT_NE(p.P(4).Objetivo, 0);
    EXPECT_EQ(p.dichos(), std::vector<std::string>{"cartas seleccionadas. Pulse espacio para continuar"});
    EXPECT_TRUE(p.eventos(EventKind::SoundPlay).empty()) << "computer characters change no sound";
}

const std::string Pregunta =
    ". ¿Qué carta desea utilizar? (pulse 1 o 2, y Si desea descartar una carta sin utilizarla, mantenga "
    "pulsada la "
    "tecla control)";

TEST(FaseCartas, PlayerPromptNamesTheCompanyInIndexOrder) {
    Partida p({5});
    p.salasHechas({7, 5, 3, 1}, {{7, 2}, {5, 2}, {3, 2}});
    p.mano(5, 30, 8);
    p.teclas({"SPACE"});
    const std::string donde = " está en La cocina junto a " + p.nombre(3) + ", " + p.nombre(7) + ", " +
                              " Recuerde que  sus cartas son: 1. " + p.mesa().Cartas[30].Texto + " y 2. " +
                              p.mesa().Cartas[8].Texto + Pregunta;
    EXPECT_EQ(p.dicho(), p.nombre(5) + ", es su turno de jugar." + donde);
    p.teclas({"P"});
    EXPECT_EQ(p.dicho(), donde);
    p.mesa().DescripcionCorta = true;
    p.teclas({"C"});
    EXPECT_EQ(p.dicho(), "Sus cartas son: 1. Defensa fuerte, Olfato canino y 2. Escondite, cocina");
    p.teclas({"2"});
    EXPECT_EQ(p.dicho(), "cartas seleccionadas. Pulse espacio para continuar");
    p.olvida();
    p.teclas({"P", "C"});
    EXPECT_EQ(p.dichos(), std::vector<std::string>{}) << "P after the choice, C for a computer character";
}

TEST(FaseCartas, PlayerAloneHearsNobodyElseIsThere) {
    Partida p({5});
    p.salasHechas({5, 3}, {{5, 4}});
    p.mesa().DescripcionCorta = true;
    p.mano(5, 30, 0);
    p.teclas({"SPACE"});
    EXPECT_EQ(p.dicho(),
              p.nombre(5) +
                  ", es su turno de jugar. está en El dormitorio y no hay nadie más con usted.  Recuerde "
                  "que  sus cartas son: 1. Defensa fuerte, Olfato canino y 2. " +
                  Pregunta);
}

TEST(FaseCartas, EachPlayerTurnBringsItsRoomSound) {
    Partida p({2, 6, 9});
    p.salasHechas({2, 1, 6, 9}, {{2, 3}, {6, 3}, {9, 4}});
    for (int i : {2, 1, 6, 9}) p.mano(i, 26, 27);
    auto sonidos = [&] {
        std::vector<std::pair<EventKind, int>> v;
        for (const auto& e : p.recorder.events)
            if (e.kind == EventKind::SoundPlay || e.kind == EventKind::SoundStop)
                v.emplace_back(e.kind, e.number);
        p.olvida();
        return v;
    };
    const auto Stop = EventKind::SoundStop, Play = EventKind::SoundPlay;
    auto turno = [&](int sala) {
        return std::vector<std::pair<EventKind, int>>{{Stop, 1}, {Stop, 3}, {Stop, 4}, {Play, sala}};
    };
    p.teclas({"SPACE"});
    EXPECT_EQ(sonidos(), turno(3));
    p.teclas({"1"});
    EXPECT_EQ(sonidos(), turno(3)) << "the computer's turn between them changes nothing";
    p.teclas({"2"});
    EXPECT_EQ(sonidos(), turno(4));
    p.teclas({"1"});
    EXPECT_EQ(p.dicho(), "cartas seleccionadas. Pulse espacio para continuar");
    EXPECT_EQ(sonidos(), turno(4)) << "the last player is taken up once more before the phase ends";
    p.teclas({"SPACE"});
    const std::vector<std::pair<EventKind, int>> fuego = {{Stop, 3}, {Stop, 4}, {Play, 1}};
    auto noche = fuego;
    noche.insert(noche.end(), fuego.begin(), fuego.end());  // the night, then the next day's report
    EXPECT_EQ(sonidos(), noche);
}

}  // namespace
}  // namespace veldrisa
