// The game window's keys, phase by phase: refusals, beeps, choices, targets and information.
#include <gtest/gtest.h>

#include "table/fin_partida.hpp"
#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

std::string Lista(Partida& p, const std::vector<int>& blancos) {
    std::string t = " Indique con qué heredero desea usar esa carta: ";
    for (std::size_t k = 0; k < blancos.size(); ++k)
        t += std::to_string(k + 1) + ". " + p.nombre(blancos[k]) + ", ";
    return t;
}

TEST(Teclas, ADayOpensWithDigitsBeepingAndTheKeypadSilent) {
    Partida p({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    for (int d = 0; d <= 9; ++d) p.tecla(Tecla::Digito(d));
    EXPECT_EQ(p.pitidos(), 10);
    EXPECT_EQ(p.dichos().size(), 0u);
    p.olvida();
    for (int d = 0; d <= 9; ++d) p.tecla(Tecla::DigitoNumerico(d));
    p.teclas({"A", "Z", "F3", "F4", "VK93", "SHIFT", "VK186"});
    EXPECT_TRUE(p.recorder.events.empty()) << p.recorder.events.front();
    EXPECT_EQ(p.mesa().Fase, Fases::Informe);
    p.teclas({"CTRL"});
    EXPECT_EQ(p.dichos(), std::vector<std::string>{""});

    // In the room phase too the keypad is not a room key.
    p.teclas({"F2"});
    ASSERT_EQ(p.mesa().Fase, Fases::Salas);
    p.olvida();
    for (int d = 0; d <= 9; ++d) p.tecla(Tecla::DigitoNumerico(d));
    EXPECT_TRUE(p.recorder.events.empty());
    EXPECT_EQ(p.f().Actual().Sala, -1);
    p.teclas({"0", "5", "9"});
    EXPECT_EQ(p.pitidos(), 3);
    EXPECT_EQ(p.f().Actual().Sala, -1);
}

TEST(Teclas, CardKeysTargetsAndRefusalsOfTheCardPhase) {
    Partida p({1, 2, 3, 4, 6, 9});
    // 4, 1 and 3 in the salón, 6 and 2 in the biblioteca, 9 alone in the cocina; 5, 7, 8, 10 dead.
    p.salasHechas({4, 6, 2, 9, 1, 3}, {{6, 3}, {2, 3}, {9, 2}});
    p.mano(4, 18, 26);  // a weak attack
    p.mano(6, 14, 27);  // a strong attack of its own room
    p.mano(2, 10, 28);  // a strong attack of another room
    p.mano(9, 12, 29);  // a strong attack of its room, where it is alone
    p.mano(1, 19, 30);  // thrown away
    p.mano(3, 4, 31);   // a change of card
    p.P(1).Objetivo = 7;
    Mesa& m = p.mesa();

    p.teclas({"SPACE"});
    ASSERT_EQ(m.Fase, Fases::Cartas);
    ASSERT_TRUE(p.dicho().starts_with(p.nombre(4) + ", es su turno de jugar."));
    p.olvida();
    p.teclas({"3", "0", "SPACE"});
    EXPECT_EQ(p.pitidos(), 2);
    EXPECT_EQ(p.dichos(),
              std::vector<std::string>{
                  "Primero debe seleccionar una de las cartas. Pulse la tecla C para escuchar sus cartas y "
                  "después pulse 1 o 2 para elegir una de ellas."});

    p.olvida();
    p.teclas({"1"});
    EXPECT_EQ(p.dichos(), (std::vector<std::string>{"Elija el jugador con el que va a realizar la acción",
                                                    Lista(p, {1, 2, 3, 6, 9})}));
    EXPECT_EQ(m.Fase, Fases::Objetivo);
    EXPECT_EQ(m.NumObjetivos, 5);
    p.olvida();
    p.teclas({"0", "6", "SPACE"});
    const std::string SoloHay =
        "Sólo hay 5 objetivos para elegir. Pulse espacio para escuchar sus nombres de nuevo";
    EXPECT_EQ(p.dichos(), (std::vector<std::string>{SoloHay, SoloHay, Lista(p, {1, 2, 3, 6, 9})}));
    EXPECT_EQ(p.pitidos(), 0);
    EXPECT_EQ(m.Fase, Fases::Objetivo);
    p.teclas({"2"});
    EXPECT_EQ(p.P(4).Objetivo, 2);
    EXPECT_EQ(p.P(4).CartaElegida, 1);
    EXPECT_EQ(m.Fase, Fases::Cartas);

    p.olvida();
    p.teclas({"1"});  // 6: only those in its room
    EXPECT_EQ(p.dicho(), Lista(p, {2}));
    p.teclas({"1"});
    EXPECT_EQ(p.P(6).Objetivo, 2);

    p.olvida();
    p.teclas({"1"});  // 2: accepted at once, against nobody
    EXPECT_EQ(p.P(2).Objetivo, 0);
    EXPECT_EQ(p.P(2).CartaElegida, 1);
    ASSERT_EQ(p.dichos().size(), 1u);
    EXPECT_TRUE(p.dicho().starts_with(p.nombre(9) + ", es su turno de jugar."));

    p.olvida();
    p.teclas({"1"});  // 9: nobody to hit
    auto dichos = p.dichos();
    ASSERT_EQ(dichos.size(), 3u);
    EXPECT_EQ(dichos[0], "Elija el jugador con el que va a realizar la acción");
    EXPECT_EQ(dichos[1],
              "No hay ningún heredero  con el que pueda usar esa carta. Pulse espacio para continuar.");
    EXPECT_TRUE(dichos[2].starts_with(p.nombre(1) + ", es su turno de jugar."));
    EXPECT_EQ(p.P(9).Objetivo, 0);
    EXPECT_EQ(m.Fase, Fases::Cartas);

    p.olvida();
    p.teclas({"CTRL+1"});  // 1 throws its attack away: no target asked
    EXPECT_TRUE(p.P(1).Descarta);
    EXPECT_EQ(p.P(1).Objetivo, 0) << "the old target is forgotten";
    EXPECT_EQ(p.dichos().size(), 1u);

    p.teclas({"1"});
    EXPECT_EQ(p.dicho(), Lista(p, {1, 2, 4, 6, 9}));
    p.teclas({"5"});
    EXPECT_EQ(p.P(3).Objetivo, 9);
    EXPECT_FALSE(p.P(3).Descarta);
    EXPECT_EQ(p.dicho(), "cartas seleccionadas. Pulse espacio para continuar");

    // Every card is chosen: card keys change nothing.
    p.olvida();
    p.teclas({"2", "1", "CTRL+2"});
    EXPECT_EQ(p.pitidos(), 3);
    EXPECT_TRUE(p.dichos().empty());
    EXPECT_EQ(p.P(3).CartaElegida, 1);
    EXPECT_FALSE(p.P(3).Descarta);
    EXPECT_EQ(p.P(3).Objetivo, 9);
}

TEST(Teclas, HeirKeyInEveryPhase) {
    Partida p({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    auto heredero = [&] {
        return "El heredero actual es " + p.nombre(p.mesa().LineaSucesion[p.mesa().Heredero]);
    };
    p.teclas({"H"});
    EXPECT_EQ(p.dicho(), heredero());
    p.teclas({"SPACE", "H"});
    EXPECT_EQ(p.dicho(), heredero());
    for (int i = 0; i < 10; ++i) p.teclas({"1"});
    for (int i = 1; i <= 10; ++i) p.mano(i, 18 + (i % 8), 26);
    p.teclas({"SPACE", "H"});
    EXPECT_EQ(p.mesa().Fase, Fases::Cartas);
    EXPECT_EQ(p.dicho(), heredero());
    p.teclas({"1", "H"});
    EXPECT_EQ(p.mesa().Fase, Fases::Objetivo);
    EXPECT_EQ(p.dicho(), heredero());
    FinPartida(p.f(), 2, -1);
    p.teclas({"H"});
    EXPECT_EQ(p.dicho(), heredero());
}

TEST(Teclas, DescriptionModeAndTheHandOnRequest) {
    Partida p({4});
    p.teclas({"F6"});
    EXPECT_EQ(p.dicho(), "Descripción  corta  de las cartas");
    EXPECT_TRUE(p.mesa().DescripcionCorta);
    p.teclas({"F6"});
    EXPECT_EQ(p.dicho(), "Descripción  larga  de las cartas");
    EXPECT_FALSE(p.mesa().DescripcionCorta);

    p.olvida();
    p.teclas({"C", "P"});
    EXPECT_TRUE(p.dichos().empty()) << "no hand is asked for before the room phase";
    p.mano(4, 8, 26);
    p.salasHechas({4, 1}, {{4, 2}});
    p.mesa().Turno = 1;
    p.teclas({"P", "C"});
    EXPECT_EQ(p.dichos(), std::vector<std::string>{"Sus cartas son: 1. " + p.mesa().Cartas[8].Texto +
                                                   " y 2. " + p.mesa().Cartas[26].Texto});
    p.mesa().Turno = 2;
    p.teclas({"C"});
    EXPECT_EQ(p.dichos().size(), 1u) << "a computer character's hand is not told";
}

TEST(Teclas, EscapeAndAltF4CloseTheWindowInAnyPhase) {
    for (const char* tecla : {"ESC", "ALT+F4"}) {
        Partida p({2});
        p.teclas({"F4", "CTRL+F4"});
        EXPECT_FALSE(p.programa.Terminado());
        p.teclas({"SPACE", tecla});
        EXPECT_TRUE(p.programa.Terminado()) << tecla;
    }
}

}  // namespace
}  // namespace veldrisa
