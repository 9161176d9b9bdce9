// The room phase: the computer's choice of room by hand, the players' prompt and keys, the log of the rooms.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

constexpr int Cualquiera = 0;  // a random open room

TEST(EleccionSala, TheComputerGoesWhereItsHandSays) {
    struct {
        const char* que;
        int c1, c2;
        bool agresivo, heredero;
        int cerradas;  // the dormitorio, then the biblioteca
        int sala;
    } const casos[] = {
        {"keys, heir", 14, 1, false, true, 0, 1},
        {"keys, not heir: the attack's room", 1, 14, false, false, 0, 3},
        {"keys, not heir, biblioteca closed", 1, 14, false, false, 2, Cualquiera},
        {"change of heir and a strong attack", 2, 16, false, false, 0, 4},
        {"change of heir and a defence", 3, 26, false, false, 0, Cualquiera},
        {"change of card and a hiding place", 9, 4, false, false, 0, 3},
        {"hiding place and strong attack, aggressive", 8, 16, true, false, 0, 4},
        {"hiding place and strong attack, calm", 8, 16, false, false, 0, 2},
        {"hiding place and strong attack of a closed room", 8, 16, true, false, 1, 2},
        {"hiding place and weak attack", 6, 20, false, false, 0, 4},
        {"hiding place of a closed room and a defence", 6, 30, false, false, 1, Cualquiera},
        {"strong and weak attack", 12, 22, false, false, 0, 2},
        {"strong attack and weak defence", 12, 36, false, false, 0, 2},
        {"strong attack and strong defence, aggressive", 14, 30, true, false, 0, 3},
        {"strong attack and strong defence, calm", 14, 30, false, false, 0, Cualquiera},
        {"two hiding places: the lower card's room", 7, 6, false, false, 0, 4},
        {"two strong attacks of a closed room", 16, 17, false, false, 1, Cualquiera},
        {"weak attack and strong defence", 18, 26, true, false, 0, Cualquiera},
        {"an empty slot", 0, 12, true, false, 0, Cualquiera},
    };
    for (const auto& c : casos) {
        std::set<int> salas;
        for (std::uint32_t semilla = 1; semilla <= 8; ++semilla) {
            Partida p;  // 3 holds the hand; everyone else two strong defences
            Mesa& m = p.mesa();
            for (int i = 1; i <= 10; ++i) p.mano(i, 26, 27);
            p.mano(3, c.c1, c.c2);
            p.P(3).Agresivo = c.agresivo;
            m.LineaSucesion[m.Heredero] = c.heredero ? 3 : 5;
            for (int s = 4; s > 4 - c.cerradas; --s) m.SalaAbierta[s] = false;
            m.NumSalas = static_cast<std::int16_t>(4 - c.cerradas);
            p.f().rnd.Siembra(semilla * 2654435761u);
            p.teclas({"SPACE"});
            const int sala = p.P(3).Sala;
            EXPECT_TRUE(sala >= 1 && sala <= m.NumSalas) << c.que << ": room " << sala;
            EXPECT_NE(m.OcupantesSala[sala].find("03; "), std::string::npos) << c.que;
            EXPECT_LE(p.P(3).Carta1, p.P(3).Carta2) << c.que << ": the hand is sorted";
            salas.insert(sala);
        }
        if (c.sala == Cualquiera)
            EXPECT_GE(salas.size(), 2u) << c.que << ": always room " << *salas.begin();
        else
            EXPECT_EQ(salas, std::set<int>{c.sala}) << c.que;
    }
}

TEST(FaseSalas, WithOnlyTheComputerTheWholePhaseIsOneKeyAndEndsWithTheLog) {
    Partida p;
    p.mesa().SalaAbierta[4] = false;
    p.mesa().NumSalas = 3;
    // Two cards of one kind send the computer to the lower card's room: strong attacks 10-15 and
    // hiding places 7-9 lie in the salón, the cocina and the biblioteca.
    const int manos[][2] = {{10, 11}, {12, 13}, {14, 15}, {7, 8}, {8, 9},
                            {15, 16}, {11, 12}, {13, 14}, {9, 7}, {14, 16}};
    for (int i = 1; i <= 10; ++i) p.mano(i, manos[i - 1][0], manos[i - 1][1]);
    p.teclas({"SPACE"});
    EXPECT_EQ(p.dichos(), std::vector<std::string>{"salas asignadas. Pulse espacio  para continuar "});
    EXPECT_EQ(p.mesa().Fase, Fases::Salas);
    EXPECT_EQ(p.mesa().Turno, 10);
    EXPECT_EQ(std::set<int>(p.mesa().OrdenDia.begin(), p.mesa().OrdenDia.end()).size(), 10u);
    EXPECT_FALSE(std::ranges::is_sorted(p.mesa().OrdenDia)) << "the day's order is shuffled";
    // Each room with its occupants in the roster's order, whatever the day's; the closed one empty.
    EXPECT_EQ(
        p.mesa().Label1,
        "El salón\r\n"
        "Micifú, el gato andalú; William, el hijo rockero; Tom, el mayordomo; Miss Pamela Skystar, su "
        "vidente personal; \r\n"
        "La cocina\r\n"
        "Sir Thomas, el apenado marido; Lady Mary Simmons la cotilla, su mejor amiga; Miss Jane Hairton, "
        "su peluquera de toda la vida; \r\n"
        "La biblioteca\r\n"
        "Jenniffer, la hija pija; Bautista, el chófer; Mister Harry Gold, su banquero de confianza; \r\n"
        "El dormitorio\r\n"
        "\r\n");
}

TEST(FaseSalas, PlayerPromptListsOnlyOpenRoomsAndKeepsTheHandUnsorted) {
    Partida p({3});
    Mesa& m = p.mesa();
    m.SalaAbierta[4] = false;
    m.NumSalas = 3;
    p.mano(3, 30, 5);
    p.teclas({"SPACE"});
    EXPECT_EQ(p.dicho(),
              p.nombre(3) + ", es su turno de jugar. Sus cartas son: 1. " + m.Cartas[30].Texto + " y 2. " +
                  m.Cartas[5].Texto +
                  ". ¿A qué habitación desea ir? (pulse el número correspondiente).1. El salón, 2. La "
                  "cocina, 3. La biblioteca, ");
    p.olvida();
    p.teclas({"4", "SPACE"});
    EXPECT_EQ(p.pitidos(), 1);
    EXPECT_EQ(p.dicho(), "Primero debe seleccionar una de las salas. Pulse un número del 1 al 3");
    EXPECT_EQ(p.P(3).Sala, -1);
    p.teclas({"3"});
    EXPECT_EQ(p.P(3).Sala, 3);
    EXPECT_EQ(p.P(3).Carta1, 30);
    EXPECT_EQ(p.dicho(), "salas asignadas. Pulse espacio  para continuar ");
}

TEST(FaseSalas, EveryPlayerInTurnAndOnceAllHaveChosenRoomKeysChangeNothing) {
    Partida p({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    p.teclas({"SPACE"});
    Mesa& m = p.mesa();
    std::string ocupantes[5];
    for (int c : std::vector<int>(m.OrdenDia.begin(), m.OrdenDia.end())) {
        ASSERT_TRUE(p.dicho().starts_with(p.nombre(c) + ", es su turno de jugar.")) << p.dicho();
        const int sala = c % 4 + 1;
        p.tecla(Tecla::Digito(sala));
        ocupantes[sala] += "0" + std::to_string(c) + "; ";
        EXPECT_EQ(p.P(c).Sala, sala);
    }
    EXPECT_EQ(p.dicho(), "salas asignadas. Pulse espacio  para continuar ");
    EXPECT_EQ(m.Turno, 10);
    p.olvida();
    p.teclas({"1", "4"});
    EXPECT_EQ(p.pitidos(), 2);
    EXPECT_TRUE(p.dichos().empty());
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(m.OcupantesSala[s], ocupantes[s]);
    EXPECT_EQ(p.P(m.OrdenDia.back()).Sala, m.OrdenDia.back() % 4 + 1);
}

}  // namespace
}  // namespace veldrisa
