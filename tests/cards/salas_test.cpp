// The room phase: the computer's choice of room by hand, the players' prompt, the log of the rooms.
#include <gtest/gtest.h>

#include <set>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

constexpr int Cualquiera = 0;

struct Mano {
    const char* que;
    int c1, c2;
    bool agresivo, heredero;
    int cerradas;  // 0, 1 (the dormitorio) or 2 (and the biblioteca)
    int sala;      // Cualquiera: a random open room
};

// Character 3 holds the hand; everyone else two strong defences.
std::set<int> SalasElegidas(const Mano& c) {
    std::set<int> salas;
    for (std::uint32_t semilla = 1; semilla <= 8; ++semilla) {
        Partida p;
        Mesa& m = p.mesa();
        for (int i = 1; i <= 10; ++i) p.P(i).Carta1 = 26, p.P(i).Carta2 = 27;
        p.P(3).Carta1 = static_cast<std::int16_t>(c.c1);
        p.P(3).Carta2 = static_cast<std::int16_t>(c.c2);
        p.P(3).Agresivo = c.agresivo;
        m.Heredero = 1;
        m.LineaSucesion[1] = c.heredero ? 3 : 5;
        m.LineaSucesion[3] = c.heredero ? 5 : 3;
        for (int s = 4; s > 4 - c.cerradas; --s) m.SalaAbierta[s] = false;
        m.NumSalas = static_cast<std::int16_t>(4 - c.cerradas);
        m.Fase = Fases::Salas;
        p.f().rnd.Siembra(semilla * 2654435761u);
        FaseSalas(p.f(), true);
        const int sala = p.P(3).Sala;
        EXPECT_TRUE(sala >= 1 && sala <= m.NumSalas) << c.que << ": room " << sala;
        EXPECT_NE(m.OcupantesSala[sala].find("03; "), std::string::npos) << c.que;
        EXPECT_LE(p.P(3).Carta1, p.P(3).Carta2) << c.que << ": the hand is sorted";
        salas.insert(sala);
    }
    return salas;
}

TEST(EleccionSala, TheComputerGoesWhereItsHandSays) {
    const Mano manos[] = {
        {"keys, heir", 1, 14, false, true, 0, 1},
        {"keys unsorted, heir", 14, 1, false, true, 0, 1},
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
        {"hiding place and strong defence", 9, 30, false, false, 0, 3},
        {"strong and weak attack", 12, 22, false, false, 0, 2},
        {"strong attack and weak defence", 12, 36, false, false, 0, 2},
        {"strong attack and strong defence, aggressive", 14, 30, true, false, 0, 3},
        {"strong attack and strong defence, calm", 14, 30, false, false, 0, Cualquiera},
        {"two strong attacks", 11, 10, false, false, 0, 1},
        {"two hiding places: the lower card's room", 7, 6, false, false, 0, 4},
        {"two strong attacks of a closed room", 16, 17, false, false, 1, Cualquiera},
        {"weak attack and strong defence", 18, 26, true, false, 0, Cualquiera},
        {"two weak defences", 34, 35, true, false, 0, Cualquiera},
        {"an empty slot", 0, 12, true, false, 0, Cualquiera},
    };
    for (const Mano& c : manos) {
        std::set<int> salas = SalasElegidas(c);
        if (c.sala == Cualquiera)
            EXPECT_GE(salas.size(), 2u) << c.que << ": always room " << *salas.begin();
        else
            EXPECT_EQ(salas, std::set<int>{c.sala}) << c.que;
    }
}

TEST(FaseSalas, WithOnlyTheComputerTheWholePhaseIsOneKey) {
    Partida p;
    p.teclas({"SPACE"});
    EXPECT_EQ(p.dichos(), std::vector<std::string>{"salas asignadas. Pulse espacio  para continuar "});
    EXPECT_EQ(p.mesa().Fase, 2);
    EXPECT_EQ(p.mesa().OrdenDia.size(), 10u);
    EXPECT_EQ(p.mesa().Turno, 10);
    std::set<int> orden(p.mesa().OrdenDia.begin(), p.mesa().OrdenDia.end());
    EXPECT_EQ(orden.size(), 10u);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_GE(p.P(i).Sala, 1);
        EXPECT_LE(p.P(i).Carta1, p.P(i).Carta2);
    }
}

TEST(FaseSalas, PlayerPromptListsOnlyOpenRoomsAndKeepsItsHand) {
    Partida p({3});
    Mesa& m = p.mesa();
    m.SalaAbierta[4] = false;
    m.NumSalas = 3;
    p.P(3).Carta1 = 30;
    p.P(3).Carta2 = 5;
    p.teclas({"SPACE"});
    EXPECT_EQ(p.dicho(), p.nombre(3) + ", es su turno de jugar. Sus cartas son: 1. " + m.Cartas[30].Texto +
                             " y 2. " + m.Cartas[5].Texto +
                             ". ¿A qué habitación desea ir? (pulse el número correspondiente).1. El salón, 2. La "
                             "cocina, 3. La biblioteca, ");
    EXPECT_EQ(p.actual().Indice, 3);
    p.olvida();
    p.teclas({"4", "SPACE"});
    EXPECT_EQ(p.pitidos(), 1);
    EXPECT_EQ(p.dicho(), "Primero debe seleccionar una de las salas. Pulse un número del 1 al 3");
    EXPECT_EQ(p.P(3).Sala, -1);
    p.teclas({"3"});
    EXPECT_EQ(p.P(3).Sala, 3);
    EXPECT_EQ(p.P(3).Carta1, 30) << "a player's hand is not reordered";
    EXPECT_EQ(p.dicho(), "salas asignadas. Pulse espacio  para continuar ");

    std::string log;
    for (int s = 1; s <= 4; ++s) {
        log += prueba::SalaNombre[s] + "\r\n";
        for (int i = 1; i <= 10; ++i)
            if (p.P(i).Sala == s) log += p.nombre(i) + "; ";
        log += "\r\n";
    }
    EXPECT_EQ(m.Label1, log);
    EXPECT_NE(log.find("El dormitorio\r\n\r\n"), std::string::npos);
}

TEST(FaseSalas, EveryPlayerInTurnAndTheLastKeyEndsThePhase) {
    Partida p({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    p.teclas({"SPACE"});
    Mesa& m = p.mesa();
    const auto orden = m.OrdenDia;
    std::string ocupantes[5];
    for (int t = 0; t < 10; ++t) {
        const int c = orden[static_cast<std::size_t>(t)];
        ASSERT_TRUE(p.dicho().starts_with(p.nombre(c) + ", es su turno de jugar.")) << p.dicho();
        EXPECT_EQ(m.Fase, 2);
        p.teclas({"SPACE"});
        EXPECT_EQ(p.dicho(), "Primero debe seleccionar una de las salas. Pulse un número del 1 al 4");
        const int sala = t % 4 + 1;
        p.tecla('0' + sala);
        ocupantes[sala] += "0" + std::to_string(c) + "; ";
        EXPECT_EQ(p.P(c).Sala, sala);
    }
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(m.OcupantesSala[s], ocupantes[s]);
    EXPECT_EQ(p.dicho(), "salas asignadas. Pulse espacio  para continuar ");
    EXPECT_EQ(m.Turno, 10);
    EXPECT_EQ(p.pitidos(), 0);

    // Once every room is chosen a room key changes nothing.
    const int ultimo = orden.back();
    p.olvida();
    p.teclas({"1", "4"});
    EXPECT_EQ(p.pitidos(), 2);
    EXPECT_EQ(p.dichos().size(), 0u);
    EXPECT_EQ(p.P(ultimo).Sala, 2);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(m.OcupantesSala[s], ocupantes[s]);
}

}  // namespace
}  // namespace veldrisa
