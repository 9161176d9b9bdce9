// The three endings, what the game-over phase accepts, and the new game after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Noche;

const std::string Terminada = "La partida ha terminado, pulse 1 para volver a empezar o escape  para salir.";

std::string Llaves(const std::string& nombre) {
    return "Tras salir en plena noche de la casa, " + nombre +
           " se presenta a primera hora  en las oficinas de Mister John Dóberman. - ¿Así que es usted "
           "finalmente "
           "quien se convertirá en multimillonario? ¡Mi enhorabuena! Fírmeme aquí y aquí y yo me encargaré "
           "de que "
           "sus parientes dejen la casa inmediatamente para que pueda entrar a vivir cuanto antes. ¡Ah! y ya "
           "sabe  "
           "que nuestra firma ha representado a su familia durante generaciones, esperamos seguir teniendo "
           "su "
           "confianza";
}
const std::string Nadie =
    "El señor Dóberman, al llegar por la mañana como de costumbre, descubre que no queda nadie vivo en la "
    "casa. - "
    "¡Qué familia tan curiosa! han preferido matarse entre ellos que llegar a un acuerdo y repartir la "
    "fortuna. En "
    "fin, el dinero le vendrá muy bien a la sociedad protectora de animales. -  Y diciendo ésto, cierra de "
    "nuevo la "
    "casa y se marcha.";
std::string Superviviente(const std::string& nombre) {
    return "Mister John Dóberman llega a la casa como todas las mañanas y finalmente sólo encuentra a una "
           "persona "
           "desaiunando. - Bien, así que es usted, " +
           nombre +
           " quien recibirá la fortuna. Mi Enhorabuena. Aquí tiene las llaves de su casa, y si me firma aquí "
           "y aquí "
           "todo quedará    cerrado. Me alegro de que este fastidioso asunto se haya resuelto  a su favor. "
           "Mucha "
           "suerte, y ya sabe que nuestra firma ha representado a su familia durante muchas generaciones...";
}

TEST(FinPartida, TheThreeEndingsThenANewGameWithEverybodyBack) {
    struct {
        const char* que;
        std::vector<std::pair<int, int>> ataques;  // attacker, victim
        bool llaves;                               // played by 1
        int desenlace;
    } const casos[] = {
        {"the heir leaves with the keys", {}, true, 1},
        {"the heir alone with the keys", {{4, 7}, {7, 4}}, true, 1},
        {"nobody is left", {{1, 4}, {4, 7}, {7, 1}}, false, 2},
        {"one is left", {{1, 4}, {4, 1}}, false, 3},
    };
    for (const auto& c : casos) {
        Noche n;  // 1 (the heir), 4 and 7 are left
        for (int m : {2, 3, 5, 6, 8, 9, 10}) n.muerto(m);
        if (c.llaves) n.juega(1, 1);
        int debil = 18;
        for (auto [a, v] : c.ataques) n.juega(a, debil++, v);
        const auto antes = n.mesa().Mazo;
        n.resuelve();
        const std::string escena = c.desenlace == 1   ? Llaves(n.nombre(1))
                                   : c.desenlace == 2 ? Nadie
                                                      : Superviviente(n.nombre(7));
        EXPECT_EQ(n.eventos(EventKind::Said), (std::vector<Event>{Event::said(escena, false, false),
                                                                  Event::said(Terminada, true, false)}))
            << c.que;
        EXPECT_EQ(n.mesa().Fase, Fases::FinPartida) << c.que;
        // The keys and the last death end the night before the cards go back.
        for (int k = 1; k <= 40 && c.desenlace != 3; ++k) EXPECT_EQ(n.mesa().Mazo[k], antes[k]) << c.que;

        // Game over: only 1 starts again; other digits, space and F2 are quiet.
        n.olvida();
        n.teclas({"0", "2", "9", "SPACE", "F2", "C", "P"});
        EXPECT_TRUE(n.recorder.events.empty()) << c.que;
        EXPECT_EQ(n.mesa().Fase, Fases::FinPartida);
        n.teclas({"1"});
        EXPECT_EQ(n.mesa().Fase, Fases::Informe) << c.que;
        EXPECT_EQ(n.mesa().NumSalas, 4);
        std::set<int> manos;
        for (int i = 1; i <= 10; ++i) manos.insert({n.P(i).Carta1, n.P(i).Carta2});
        EXPECT_EQ(n.vivos(), 10) << c.que;
        EXPECT_EQ(manos.size(), 20u) << c.que;
        EXPECT_FALSE(manos.contains(0));
        EXPECT_TRUE(n.dicho().starts_with("Los actuales aspirantes a la fortuna de Veldrisa son: " +
                                          n.nombre(1) + "; " + n.nombre(2) + "; "));
    }
}

TEST(FinPartida, ANewGameKeepsNamesPlayersTemperamentsAndTheDescriptionMode) {
    Noche n({6});
    n.P(6).Nombre = "Pepa";
    n.mesa().DescripcionCorta = true;
    const std::vector<Carta> catalogo = n.mesa().Cartas;
    n.juega(1, 1);
    n.resuelve();
    ASSERT_EQ(n.mesa().Fase, Fases::FinPartida);
    n.olvida();
    n.teclas({"1"});
    auto primero = [&](EventKind k) {
        return std::ranges::find_if(n.recorder.events, [k](const Event& e) { return e.kind == k; });
    };
    EXPECT_LT(primero(EventKind::VoiceCreated), primero(EventKind::Said))
        << "a fresh voice speaks the new game";
    EXPECT_EQ(n.P(6).Nombre, "Pepa");
    EXPECT_TRUE(n.P(6).Controlado && n.P(4).Agresivo && !n.P(6).Agresivo && n.mesa().DescripcionCorta);
    EXPECT_EQ(n.eventos(EventKind::Seeded), std::vector<Event>{Event(EventKind::Seeded, {}, 2)});
    for (std::size_t k = 0; k < catalogo.size(); ++k) EXPECT_EQ(n.mesa().Cartas[k].Texto, catalogo[k].Texto);
}

}  // namespace
}  // namespace veldrisa
