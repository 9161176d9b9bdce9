// The night: attacks against defences, deaths, heirs, keys, cards going home, rooms closing, the news.
#include <gtest/gtest.h>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Noche;

const std::string AperturaLarga =
    "Un nuevo día comienza y Mister John Doberman, albacea del testamento y perteneciente al bufete Cats and Dogs, "
    "se presenta cuando todo el grupo está reunido desaiunando. ";
const std::string ComoSabran =
    ". Como ustedes ya sabrán, el heredero que actualmente es el primero en la línea de sucesión es, en estos "
    "momentos, ";
const std::string Feliz = ". Que pasen  un día muy feliz.";
const std::string Papeles =
    "Tras la aparición de unos papeles incriminatorios, el heredero de la fortuna ha pasado a ser ";

// Cards by kind, for reading the scenes.
constexpr int Llaves = 1, CambioHeredero = 2, CambioHeredero2 = 3, CambioCarta = 4, CambioCarta2 = 5;
constexpr int EsconditeSalon = 7;
constexpr int Fuerte[] = {10, 11, 12, 13, 14, 15, 16, 17};
constexpr int Debil[] = {18, 19, 20, 21, 22, 23, 24, 25};
constexpr int DefensaFuerte = 26, DefensaDebil = 34;

std::string LongNews(Noche& n, const std::string& sucesos, int heredero) {
    return AperturaLarga + "Tengo nuevas noticias para ustedes: " + sucesos + ComoSabran + n.nombre(heredero) + Feliz;
}

TEST(Balances, OneTargetAgainstEveryMixOfAttacksAndDefences) {
    struct Caso {
        const char* que;
        int propia;  // the target's own card, 0 to throw its card away
        int fuertes, debiles;
        bool vive;
    };
    const Caso casos[] = {
        {"weak attack alone kills", 0, 0, 1, false},
        {"strong attack alone kills", 0, 1, 0, false},
        {"weak against weak defence lives", DefensaDebil, 0, 1, true},
        {"weak against strong defence lives", DefensaFuerte, 0, 1, true},
        {"strong against weak defence dies", DefensaDebil, 1, 0, false},
        {"strong against strong defence lives", DefensaFuerte, 1, 0, true},
        {"two weak against strong defence die", DefensaFuerte, 0, 2, false},
        {"strong and weak against strong defence die", DefensaFuerte, 1, 1, false},
        {"the hiding place survives everybody", EsconditeSalon, 8, 1, true},
        {"the hiding place survives everybody weak", EsconditeSalon, 0, 8, true},
    };
    for (const Caso& c : casos) {
        Noche n;
        if (c.propia) n.juega(2, c.propia);
        const int atacantes[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
        int k = 0;
        for (int x = 0; x < c.fuertes; ++x) n.juega(atacantes[k++], Fuerte[x], 2);
        for (int x = 0; x < c.debiles; ++x) n.juega(atacantes[k++], Debil[x], 2);
        n.resuelve();
        EXPECT_EQ(n.P(2).Vivo, c.vive) << c.que;
        EXPECT_EQ(n.noticias().find(n.nombre(2) + " ha muerto en El salón en extrañas circunstancias. \r\n") !=
                      std::string::npos,
                  !c.vive)
            << c.que;
        EXPECT_EQ(n.vivos().size(), c.vive ? 10u : 9u) << c.que;
    }
}

TEST(Muertes, EachRoomHasItsPhraseAndTheDormitorioClosesBelowSeven) {
    Noche n;
    for (int v = 2; v <= 5; ++v) {
        n.sala(v, v - 1);
        n.juega(v + 4, Debil[v], v);
    }
    n.resuelve();
    EXPECT_EQ(n.noticias(),
              LongNews(n,
                       n.nombre(2) + " ha muerto en El salón en extrañas circunstancias. \r\n" + n.nombre(3) +
                           " ha muerto en La cocina debido a un lamentable accidente. \r\n" + n.nombre(4) +
                           " ha muerto en La bibliotecaaunque no sé cómo murió. \r\n" + n.nombre(5) +
                           " ha muerto en El dormitorio por lo cual les doy mis condolencias. \r\n" +
                           " Debo informarles, me temo, de que se ha cerrado El dormitorio al uso mientras se aclaran "
                           "los acontecimientos que están teniendo lugar en esta casa. Espero que no disturbe "
                           "demasiado a los señores.",
                       1));
    EXPECT_EQ(n.mesa().NumSalas, 3);
    EXPECT_FALSE(n.mesa().SalaAbierta[4]);
    EXPECT_EQ(n.mesa().Fase, 1);
    EXPECT_TRUE(n.dicho().starts_with("Los actuales aspirantes"));
}

TEST(Muertes, TwoCharactersKillEachOther) {
    Noche n;
    n.juega(3, Fuerte[0], 4);
    n.juega(4, Debil[0], 3);
    n.resuelve();
    EXPECT_FALSE(n.P(3).Vivo);
    EXPECT_FALSE(n.P(4).Vivo);
    EXPECT_EQ(n.noticias(), LongNews(n,
                                     n.nombre(3) + " ha muerto en El salón en extrañas circunstancias. \r\n" +
                                         n.nombre(4) + " ha muerto en El salón en extrañas circunstancias. \r\n",
                                     1));
}

TEST(Muertes, ADiscardedCardDoesNothingButGoesBackToTheDeck) {
    Noche n;
    n.juega(1, Llaves, 0, true);  // the heir throws the keys away
    n.juega(3, CambioHeredero, 0, true);
    n.juega(4, Fuerte[0], 5, true);
    n.juega(6, CambioCarta, 7, true);
    const int resto3 = n.P(3).Carta2, resto6 = n.P(6).Carta2, resto7 = n.P(7).Carta2;
    Mesa antes;
    n.alDecir("Un nuevo día", [&] { antes = n.mesa(); });
    n.resuelve();
    EXPECT_EQ(n.vivos().size(), 10u);
    EXPECT_EQ(n.mesa().Heredero, 1);
    EXPECT_EQ(n.mesa().Fase, 1) << "the discarded keys win nothing";
    EXPECT_EQ(n.noticias().find("papeles"), std::string::npos);
    // Everybody threw a card away: all ten came back, in character order, after the twenty in the deck.
    EXPECT_EQ(antes.Mazo[21], Llaves);
    EXPECT_EQ(antes.Mazo[23], CambioHeredero);
    EXPECT_EQ(antes.Mazo[24], Fuerte[0]);
    EXPECT_EQ(antes.Mazo[26], CambioCarta);
    EXPECT_NE(antes.Mazo[30], 0);
    EXPECT_EQ(antes.Mazo[31], 0);
    EXPECT_EQ(n.P(3).Carta1, resto3);
    EXPECT_EQ(n.P(6).Carta1, resto6) << "no change of card happened";
    EXPECT_EQ(n.P(7).Carta1, resto7);
}

TEST(CartasDeLaNoche, PlayedCardsReturnInCharacterOrderAndTheRestStaysInTheFirstSlot) {
    Noche n;
    n.P(5).CartaElegida = 2;
    const int jugada5 = n.P(5).Carta2, resto5 = n.P(5).Carta1;
    int jugada[11];
    for (int i = 1; i <= 10; ++i) jugada[i] = n.P(i).CartaElegida == 1 ? n.P(i).Carta1 : n.P(i).Carta2;
    Mesa antes;
    Roster personas;
    n.alDecir("Un nuevo día", [&] {
        antes = n.mesa();
        personas = n.programa.Personajes;
    });
    n.resuelve();
    EXPECT_EQ(jugada[5], jugada5);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(antes.Mazo[20 + i], jugada[i]) << "character " << i;
        EXPECT_EQ(personas[i].Carta2, 0);
    }
    EXPECT_EQ(personas[5].Carta1, resto5);
}

TEST(CartasDeLaNoche, TwoChangesOfCardOnEachOtherLeaveTheHandsAsTheyWere) {
    Noche n;
    n.juega(3, CambioCarta, 6);
    n.juega(6, CambioCarta2, 3);
    const int resto3 = n.P(3).Carta2, resto6 = n.P(6).Carta2;
    Roster personas;
    n.alDecir("Un nuevo día", [&] { personas = n.programa.Personajes; });
    n.resuelve();
    EXPECT_EQ(personas[3].Carta1, resto3);
    EXPECT_EQ(personas[6].Carta1, resto6);
}

TEST(CartasDeLaNoche, AChangeOfCardReachesATargetWhoDiesTonight) {
    Noche n;
    n.juega(3, CambioCarta, 7);
    n.juega(4, Debil[0], 7);
    const int resto3 = n.P(3).Carta2, resto7 = n.P(7).Carta2;
    n.resuelve();
    EXPECT_FALSE(n.P(7).Vivo);
    EXPECT_EQ(n.P(7).Carta1, resto3);
    EXPECT_EQ(n.P(3).Carta1, resto7);
    EXPECT_NE(n.P(3).Carta2, 0) << "the morning deal refilled the hand";
}

TEST(Herederos, ChangesOfHeirMoveAlongTheLineAndAreToldOnce) {
    struct Caso {
        const char* que;
        int heredero;             // position (and character) of the heir
        std::vector<int> muertos;  // dead on an earlier day
        int cambios;
        int esperado;
    };
    const Caso casos[] = {
        {"one change", 1, {}, 1, 2},
        {"two changes", 1, {}, 2, 3},
        {"skips the dead", 1, {2, 3}, 1, 4},
        {"wraps from ten to one", 10, {}, 1, 1},
        {"wraps past a dead first", 10, {1}, 1, 2},
    };
    for (const Caso& c : casos) {
        Noche n;
        n.mesa().Heredero = static_cast<std::int16_t>(c.heredero);
        for (int m : c.muertos) n.muerto(m);
        if (c.cambios >= 1) n.juega(5, CambioHeredero);
        if (c.cambios >= 2) n.juega(6, CambioHeredero2);
        n.resuelve();
        EXPECT_EQ(n.mesa().Heredero, c.esperado) << c.que;
        std::string esperadas = Papeles + n.nombre(c.esperado) + ". \r\n";
        EXPECT_EQ(n.noticias(), LongNews(n, esperadas, c.esperado)) << c.que;
    }
}

TEST(Herederos, TwoChangesAmongTwoLivingComeBackAndSayNothing) {
    Noche n;
    for (int m = 3; m <= 10; ++m) n.muerto(m);
    for (int s = 2; s <= 4; ++s) n.mesa().SalaAbierta[s] = false;
    n.mesa().NumSalas = 1;
    n.juega(1, CambioHeredero);
    n.juega(2, CambioHeredero2);
    n.resuelve();
    EXPECT_EQ(n.mesa().Heredero, 1);
    EXPECT_EQ(n.noticias(), AperturaLarga +
                                "Sólo me he acercado para recordarles que el heredero que actualmente es el primero "
                                "en la línea de sucesión es, en estos momentos,  " +
                                n.nombre(1) + Feliz);
}

TEST(Herederos, ADeadHeirPassesToTheNextLivingEvenIfItDiesToo) {
    Noche n;
    n.juega(5, Debil[0], 1);
    n.juega(6, Debil[1], 2);
    n.resuelve();
    EXPECT_EQ(n.mesa().Heredero, 3);
    EXPECT_TRUE(n.noticias().ends_with(ComoSabran + n.nombre(3) + Feliz));

    Noche w;
    w.mesa().Heredero = 10;
    w.muerto(1);
    w.juega(5, Debil[0], 10);
    w.resuelve();
    EXPECT_EQ(w.mesa().Heredero, 2) << "from position 10 the line goes on at 1, where the dead are skipped";
}

TEST(Llaves, TheHeirWhoPlaysThemWinsWhereverItIs) {
    Noche n;
    n.sala(1, 3);
    n.juega(1, Llaves);
    n.resuelve();
    EXPECT_EQ(n.mesa().Fase, 5);
    EXPECT_TRUE(n.dichoQueEmpieza("Tras salir en plena noche de la casa, " + n.nombre(1) + " se presenta").size());
    EXPECT_EQ(n.noticias(), "");
    EXPECT_EQ(n.P(1).Carta1, Llaves) << "the cards of the last night are not returned";
}

TEST(Llaves, AChangeOfHeirTheSameNightDecidesWhoseKeysCount) {
    {
        Noche n;
        n.juega(1, Llaves);
        n.juega(4, CambioHeredero);
        n.resuelve();
        EXPECT_EQ(n.mesa().Fase, 1) << "the heir moved on before the keys were looked at";
        EXPECT_EQ(n.mesa().Heredero, 2);
    }
    {
        Noche n;
        n.juega(2, Llaves);
        n.juega(4, CambioHeredero);
        n.resuelve();
        EXPECT_EQ(n.mesa().Fase, 5);
        EXPECT_NE(n.dichoQueEmpieza("Tras salir en plena noche de la casa, " + n.nombre(2)), "");
    }
    {
        Noche n;  // the next in line plays the keys, becomes heir, but is killed
        n.juega(2, Llaves);
        n.juega(4, CambioHeredero);
        n.juega(5, Debil[0], 2);
        n.resuelve();
        EXPECT_EQ(n.mesa().Fase, 1);
        EXPECT_EQ(n.mesa().Heredero, 3);
    }
}

TEST(Llaves, TheHeirKilledWhilePlayingThemWinsNothing) {
    Noche n;
    n.sala(1, 2);
    n.juega(1, Llaves);
    n.juega(7, Debil[0], 1);
    n.resuelve();
    EXPECT_EQ(n.mesa().Fase, 1);
    EXPECT_FALSE(n.P(1).Vivo);
    EXPECT_EQ(n.mesa().Heredero, 2);
    EXPECT_EQ(n.noticias(),
              LongNews(n, n.nombre(1) + " ha muerto en La cocina debido a un lamentable accidente. \r\n", 2));
}

TEST(CierreDeSalas, ClosingAsTheHouseEmpties) {
    const std::string Dormitorio =
        " Debo informarles, me temo, de que se ha cerrado El dormitorio al uso mientras se aclaran los "
        "acontecimientos que están teniendo lugar en esta casa. Espero que no disturbe demasiado a los señores.";
    const std::string Biblioteca =
        " Debo informarles, me temo, de que se ha cerrado La biblioteca al uso por problemas de calefacción. Espero "
        "que no disturbe demasiado a los señores.";
    const std::string Cocina =
        " Debo informarles, me temo, de que se ha cerrado La cocina al uso por quejas recibidas de los cocineros. "
        "Espero que no disturbe demasiado a los señores.";
    const std::string BibliotecaCorta =
        " Asimismo ha sido necesario cerrar al uso la biblioteca por problemas de calefacción.";
    const std::string CocinaCorta =
        " Lamentablemente, también ha sido necesario cerrar  la cocina de la mansión por diferentes motivos.";
    struct Caso {
        int vivos, muertes, cerradasAntes;  // rooms already closed: 0, 1 (dormitorio), 2 (and biblioteca)
        std::string cierres;
        int numSalas;
    };
    const Caso casos[] = {
        {7, 3, 0, Dormitorio + BibliotecaCorta, 2},
        {7, 4, 0, Dormitorio + BibliotecaCorta + CocinaCorta, 1},
        {6, 2, 1, Biblioteca, 2},
        {4, 1, 2, Cocina, 1},
        {6, 1, 1, "", 3},
    };
    for (const Caso& c : casos) {
        Noche n;
        for (int m = c.vivos + 1; m <= 10; ++m) n.muerto(m);
        for (int s = 4; s > 4 - c.cerradasAntes; --s) n.mesa().SalaAbierta[s] = false;
        n.mesa().NumSalas = static_cast<std::int16_t>(4 - c.cerradasAntes);
        std::swap(n.P(1).Carta1, n.P(1).Carta2);
        n.pon(1, 16);  // a card of the dormitorio kept in hand
        std::swap(n.P(1).Carta1, n.P(1).Carta2);
        std::string muertes;
        for (int k = 0; k < c.muertes; ++k) {
            n.juega(c.vivos - k, Debil[k], k + 2);
            muertes += n.nombre(k + 2) + " ha muerto en El salón en extrañas circunstancias. \r\n";
        }
        Mesa antes;
        n.alDecir("Un nuevo día", [&] { antes = n.mesa(); });
        n.resuelve();
        std::string que = std::to_string(c.vivos) + " to " + std::to_string(c.vivos - c.muertes);
        EXPECT_EQ(n.noticias(), LongNews(n, muertes + c.cierres, 1)) << que;
        EXPECT_EQ(n.mesa().NumSalas, c.numSalas) << que;
        for (int s = 1; s <= 4; ++s) EXPECT_EQ(n.mesa().SalaAbierta[s], s <= c.numSalas) << que;
        // The deck keeps only cards of open rooms, compact; the card in hand stays.
        bool hueco = false;
        for (int k = 1; k <= 40; ++k) {
            int carta = antes.Mazo[k];
            if (carta == 0) {
                hueco = true;
                continue;
            }
            EXPECT_FALSE(hueco) << que << ": the deck has a gap before slot " << k;
            int sala = CartaNumero(antes, carta).Sala;
            EXPECT_TRUE(sala == -1 || antes.SalaAbierta[sala]) << que << ": card " << carta << " in slot " << k;
        }
        EXPECT_EQ(n.P(1).Carta1, 16) << que;
    }
}

TEST(Noticias, TheFourFormsOfTheMorningNews) {
    for (bool corta : {false, true}) {
        Noche n;
        n.mesa().DescripcionCorta = corta;
        n.resuelve();
        EXPECT_EQ(n.noticias(), corta ? "Mister John Doberman dice: "
                                      : AperturaLarga +
                                            "Sólo me he acercado para recordarles que el heredero que actualmente es "
                                            "el primero en la línea de sucesión es, en estos momentos,  " +
                                            n.nombre(1) + Feliz);
        Noche m;
        m.mesa().DescripcionCorta = corta;
        m.juega(3, CambioHeredero);
        m.resuelve();
        std::string sucesos = Papeles + m.nombre(2) + ". \r\n";
        EXPECT_EQ(m.noticias(), corta ? "Mister John Doberman trae nuevas noticias por la mañana:" + sucesos +
                                            ComoSabran + m.nombre(2) + Feliz
                                      : LongNews(m, sucesos, 2));
        // The news is spoken without waiting; the report that follows waits for it.
        auto dichos = m.eventos(EventKind::Said);
        ASSERT_GE(dichos.size(), 2u);
        EXPECT_EQ(dichos[dichos.size() - 2], Event::said(m.noticias(), false, false));
        EXPECT_TRUE(dichos.back().before);
    }
}

TEST(DescribeAtaque, APlayerWhoDiesHearsWhoReallyAttackedIt) {
    Noche n({2, 8});
    n.muerto(10);
    n.P(10).Objetivo = 2;  // an old target of the dead
    n.sala(2, 3);
    n.sala(3, 3);
    n.juega(3, Fuerte[4], 2);
    n.juega(5, CambioCarta, 2);
    n.juega(6, Debil[0], 2, true);
    n.juega(9, Debil[1], 2);
    n.juega(4, Debil[2], 8);
    n.resuelve();
    auto dichos = n.eventos(EventKind::Said);
    const std::string final = " que le elimina definitivamente como aspirante a la fortuna de Veldrisa";
    ASSERT_GE(dichos.size(), 3u);
    EXPECT_EQ(dichos[0], Event::said(n.nombre(2) + " cuando estaba en La biblioteca ha recibido un ataque de " +
                                         n.nombre(3) + " y de " + n.nombre(9) + final,
                                     true, true));
    EXPECT_EQ(dichos[1], Event::said(n.nombre(8) + " cuando estaba en El salón ha recibido un ataque de " +
                                         n.nombre(4) + final,
                                     true, true));
    EXPECT_TRUE(dichos[2].text.starts_with("Un nuevo día"));
}

}  // namespace
}  // namespace veldrisa
