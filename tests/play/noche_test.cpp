// The night: attacks against defences, deaths, heirs, keys, cards going home, rooms closing, the news.
#include <gtest/gtest.h>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Noche;

const std::string Apertura =
    "Un nuevo día comienza y Mister John Doberman, albacea del testamento y perteneciente al bufete Cats and "
    "Dogs, "
    "se presenta cuando todo el grupo está reunido desaiunando. ";
const std::string ComoSabran =
    ". Como ustedes ya sabrán, el heredero que actualmente es el primero en la línea de sucesión es, en "
    "estos "
    "momentos, ";
const std::string Feliz = ". Que pasen  un día muy feliz.";
const std::string Papeles =
    "Tras la aparición de unos papeles incriminatorios, el heredero de la fortuna ha pasado a ser ";
const std::string SoloRecordar =
    "Sólo me he acercado para recordarles que el heredero que actualmente es el primero en la línea de "
    "sucesión "
    "es, en estos momentos,  ";

// Cards by kind.
constexpr int Llaves = 1, CambioHeredero = 2, CambioHeredero2 = 3, CambioCarta = 4, CambioCarta2 = 5;
constexpr int Fuerte[] = {10, 11, 12, 13, 14, 15, 16, 17}, Debil[] = {18, 19, 20, 21, 22, 23, 24, 25};
constexpr int DefensaFuerte = 26, DefensaDebil = 34, EsconditeSalon = 7;

std::string Noticias(Noche& n, const std::string& sucesos, int heredero) {
    return Apertura + "Tengo nuevas noticias para ustedes: " + sucesos + ComoSabran + n.nombre(heredero) +
           Feliz;
}
std::string MuereEnSalon(Noche& n, int i) {
    return n.nombre(i) + " ha muerto en El salón en extrañas circunstancias. \r\n";
}

TEST(Balances, OneTargetAgainstEveryMixOfAttacksAndDefences) {
    struct {
        const char* que;
        int propia, fuertes, debiles;  // the target's card (0: thrown away), the attacks on it
        bool vive;
    } const casos[] = {
        {"weak attack alone kills", 0, 0, 1, false},
        {"strong attack alone kills", 0, 1, 0, false},
        {"weak against weak defence lives", DefensaDebil, 0, 1, true},
        {"weak against strong defence lives", DefensaFuerte, 0, 1, true},
        {"strong against weak defence dies", DefensaDebil, 1, 0, false},
        {"strong against strong defence lives", DefensaFuerte, 1, 0, true},
        {"two weak against strong defence die", DefensaFuerte, 0, 2, false},
        {"strong and weak against strong defence die", DefensaFuerte, 1, 1, false},
        {"hiding place against everybody", EsconditeSalon, 8, 1, true},
    };
    for (const auto& c : casos) {
        Noche n;
        if (c.propia) n.juega(2, c.propia);
        const int atacantes[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
        int k = 0;
        for (int x = 0; x < c.fuertes; ++x) n.juega(atacantes[k++], Fuerte[x], 2);
        for (int x = 0; x < c.debiles; ++x) n.juega(atacantes[k++], Debil[x], 2);
        n.resuelve();
        EXPECT_EQ(n.P(2).Vivo, c.vive) << c.que;
        EXPECT_EQ(n.vivos(), c.vive ? 10 : 9) << c.que;
        EXPECT_EQ(n.noticias(),
                  c.vive ? Apertura + SoloRecordar + n.nombre(1) + Feliz : Noticias(n, MuereEnSalon(n, 2), 1))
            << c.que;
    }
}

TEST(Muertes, EachRoomHasItsPhraseAndTwoCanKillEachOther) {
    Noche n;
    for (int v = 2; v <= 4; ++v) n.sala(v, v), n.juega(v + 4, Debil[v], v);
    n.juega(9, Fuerte[0], 10);
    n.juega(10, Debil[0], 9);
    n.sala(9, 4), n.sala(10, 4);
    n.resuelve();
    EXPECT_EQ(
        n.noticias(),
        Noticias(n,
                 n.nombre(2) + " ha muerto en La cocina debido a un lamentable accidente. \r\n" +
                     n.nombre(3) + " ha muerto en La bibliotecaaunque no sé cómo murió. \r\n" + n.nombre(4) +
                     " ha muerto en El dormitorio por lo cual les doy mis "
                     "condolencias. \r\n" +
                     n.nombre(9) +
                     " ha muerto en El dormitorio por lo cual les doy mis "
                     "condolencias. \r\n" +
                     n.nombre(10) +
                     " ha muerto en El dormitorio por lo cual les doy mis "
                     "condolencias. \r\n" +
                     " Debo informarles, me temo, de que se ha cerrado El dormitorio al uso "
                     "mientras se aclaran los acontecimientos que están teniendo lugar en esta "
                     "casa. Espero que no disturbe demasiado a los señores.",
                 1));
    EXPECT_EQ(n.mesa().Fase, Fases::Informe);
    EXPECT_TRUE(n.dicho().starts_with("Los actuales aspirantes"));
}

TEST(CartasDeLaNoche, PlayedAndThrownCardsGoBackInCharacterOrderAndDoNothing) {
    Noche n;
    n.juega(1, Llaves, 0, true);  // the heir throws the keys away
    n.juega(3, CambioHeredero, 0, true);
    n.juega(4, Fuerte[0], 5, true);
    n.juega(6, CambioCarta, 7, true);
    n.P(5).CartaElegida = 2;
    int jugada[11], resto[11];
    for (int i = 1; i <= 10; ++i) {
        jugada[i] = i == 5 ? n.P(i).Carta2 : n.P(i).Carta1;
        resto[i] = i == 5 ? n.P(i).Carta1 : n.P(i).Carta2;
    }
    Mesa antes;
    Roster manos;
    n.alDecir("Un nuevo día", [&] { antes = n.mesa(), manos = n.programa.Personajes; });
    n.resuelve();
    EXPECT_EQ(n.vivos(), 10);
    EXPECT_EQ(n.mesa().Fase, Fases::Informe) << "the thrown keys win nothing";
    EXPECT_EQ(n.mesa().Heredero, 1);
    EXPECT_EQ(n.noticias(), Apertura + SoloRecordar + n.nombre(1) + Feliz);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(antes.Mazo[20 + i], jugada[i]) << "character " << i;
        EXPECT_EQ(manos[i].Carta1, resto[i]) << "character " << i;
        EXPECT_EQ(manos[i].Carta2, 0);
    }
    EXPECT_EQ(antes.Mazo[21], Llaves);
}

TEST(CartasDeLaNoche, ChangesOfCardSwapWhatIsLeftAlsoWithTheDeadAndUndoEachOther) {
    Noche n;
    n.juega(3, CambioCarta, 6);
    n.juega(6, CambioCarta2, 3);
    const Roster antes = n.programa.Personajes;
    Roster manos;
    n.alDecir("Un nuevo día", [&] { manos = n.programa.Personajes; });
    n.resuelve();
    EXPECT_EQ(manos[3].Carta1, antes[3].Carta2);
    EXPECT_EQ(manos[6].Carta1, antes[6].Carta2);

    Noche m;  // a target who dies tonight takes part all the same
    m.juega(3, CambioCarta, 7);
    m.juega(4, Debil[0], 7);
    const int resto3 = m.P(3).Carta2, resto7 = m.P(7).Carta2;
    m.resuelve();
    EXPECT_FALSE(m.P(7).Vivo);
    EXPECT_EQ(m.P(7).Carta1, resto3);
    EXPECT_EQ(m.P(3).Carta1, resto7);
}

TEST(Herederos, ChangesOfHeirMoveAlongTheLineAndAreToldOnce) {
    struct {
        const char* que;
        int heredero, cambios;
        std::vector<int> muertos;  // dead on an earlier day
        int esperado;
    } const casos[] = {
        {"one change", 1, 1, {}, 2},
        {"two changes", 1, 2, {}, 3},
        {"skips the dead", 1, 1, {2, 3}, 4},
        {"wraps from ten to one", 10, 1, {}, 1},
        {"wraps past a dead first", 10, 1, {1}, 2},
    };
    for (const auto& c : casos) {
        Noche n;
        n.mesa().Heredero = static_cast<std::int16_t>(c.heredero);
        for (int m : c.muertos) n.muerto(m);
        n.juega(5, CambioHeredero);
        if (c.cambios == 2) n.juega(6, CambioHeredero2);
        n.resuelve();
        EXPECT_EQ(n.mesa().Heredero, c.esperado) << c.que;
        EXPECT_EQ(n.noticias(), Noticias(n, Papeles + n.nombre(c.esperado) + ". \r\n", c.esperado)) << c.que;
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
    EXPECT_EQ(n.noticias(), Apertura + SoloRecordar + n.nombre(1) + Feliz);
}

TEST(Herederos, ADeadHeirPassesToTheNextLivingEvenIfItDiesToo) {
    Noche n;
    n.juega(5, Debil[0], 1);
    n.juega(6, Debil[1], 2);
    n.resuelve();
    EXPECT_EQ(n.mesa().Heredero, 3);
    EXPECT_EQ(n.noticias(), Noticias(n, MuereEnSalon(n, 1) + MuereEnSalon(n, 2), 3));

    Noche w;
    w.mesa().Heredero = 10;
    w.muerto(1);
    w.juega(5, Debil[0], 10);
    w.resuelve();
    EXPECT_EQ(w.mesa().Heredero, 2) << "after position 10 comes 1, where the dead are skipped";
}

TEST(Llaves, WhoseKeysCountAfterTheChangesAndDeathsOfTheNight) {
    struct {
        const char* que;
        int llaves;
        bool cambio;
        int victima;
        Fases fase;
        int heredero;
    } const casos[] = {
        {"the heir wins, from any room", 1, false, 0, Fases::FinPartida, 1},
        {"the heir has moved on before the keys are looked at", 1, true, 0, Fases::Informe, 2},
        {"the next in line becomes heir and wins", 2, true, 0, Fases::FinPartida, 2},
        {"the next in line becomes heir but is killed", 2, true, 2, Fases::Informe, 3},
        {"the heir killed while playing them", 1, false, 1, Fases::Informe, 2},
    };
    for (const auto& c : casos) {
        Noche n;
        n.sala(c.llaves, 3);
        n.juega(c.llaves, Llaves);
        if (c.cambio) n.juega(4, CambioHeredero);
        if (c.victima) n.juega(5, Debil[0], c.victima);
        n.resuelve();
        EXPECT_EQ(n.mesa().Fase, c.fase) << c.que;
        EXPECT_EQ(n.mesa().Heredero, c.heredero) << c.que;
        if (c.fase == Fases::FinPartida) {
            EXPECT_NE(n.dichoQueEmpieza("Tras salir en plena noche de la casa, " + n.nombre(c.llaves)), "")
                << c.que;
            EXPECT_EQ(n.noticias(), "") << c.que;
            EXPECT_EQ(n.P(c.llaves).Carta1, Llaves) << "the cards of the last night are not returned";
        } else if (c.victima) {
            EXPECT_NE(n.noticias().find(n.nombre(c.victima) + " ha muerto en La biblioteca"),
                      std::string::npos);
        }
    }
}

TEST(CierreDeSalas, RoomsCloseAsTheHouseEmpties) {
    const std::string Cerrado = " Debo informarles, me temo, de que se ha cerrado ";
    const std::string Disculpa = " Espero que no disturbe demasiado a los señores.";
    const std::string Dormitorio = Cerrado +
                                   "El dormitorio al uso mientras se aclaran los acontecimientos que están "
                                   "teniendo lugar en esta casa." +
                                   Disculpa;
    const std::string Biblioteca = Cerrado + "La biblioteca al uso por problemas de calefacción." + Disculpa;
    const std::string Cocina = Cerrado + "La cocina al uso por quejas recibidas de los cocineros." + Disculpa;
    const std::string BibliotecaTambien =
        " Asimismo ha sido necesario cerrar al uso la biblioteca por problemas de calefacción.";
    const std::string CocinaTambien =
        " Lamentablemente, también ha sido necesario cerrar  la cocina de la mansión por diferentes motivos.";
    struct {
        int vivos, muertes, cerradasAntes;  // rooms closed before: the dormitorio, then the biblioteca
        std::string cierres;
        int numSalas;
    } const casos[] = {
        {7, 3, 0, Dormitorio + BibliotecaTambien, 2},
        {7, 4, 0, Dormitorio + BibliotecaTambien + CocinaTambien, 1},
        {6, 2, 1, Biblioteca, 2},
        {4, 1, 2, Cocina, 1},
        {6, 1, 1, "", 3},
    };
    for (const auto& c : casos) {
        const std::string que = std::to_string(c.vivos) + " to " + std::to_string(c.vivos - c.muertes);
        Noche n;
        for (int m = c.vivos + 1; m <= 10; ++m) n.muerto(m);
        for (int s = 4; s > 4 - c.cerradasAntes; --s) n.mesa().SalaAbierta[s] = false;
        n.mesa().NumSalas = static_cast<std::int16_t>(4 - c.cerradasAntes);
        n.pon(1, 16), std::swap(n.P(1).Carta1, n.P(1).Carta2);  // a dormitorio card kept in hand
        std::string muertes;
        for (int k = 0; k < c.muertes; ++k)
            n.juega(c.vivos - k, Debil[k], k + 2), muertes += MuereEnSalon(n, k + 2);
        Mesa antes;
        n.alDecir("Un nuevo día", [&] { antes = n.mesa(); });
        n.resuelve();
        EXPECT_EQ(n.noticias(), Noticias(n, muertes + c.cierres, 1)) << que;
        EXPECT_EQ(n.mesa().NumSalas, c.numSalas) << que;
        for (int s = 1; s <= 4; ++s) EXPECT_EQ(n.mesa().SalaAbierta[s], s <= c.numSalas) << que;
        EXPECT_EQ(n.P(1).Carta1, 16) << que;
        // The deck keeps only cards of open rooms, at its front.
        for (int k = 1; k <= 40; ++k) {
            const int carta = antes.Mazo[k], sala = CartaNumero(antes, carta).Sala;
            EXPECT_TRUE(carta ? sala == -1 || antes.SalaAbierta[sala] : k == 40 || !antes.Mazo[k + 1])
                << que << ": card " << carta << " in slot " << k;
        }
    }
}

TEST(Noticias, TheFourFormsOfTheMorningNews) {
    for (bool corta : {false, true}) {
        Noche n;
        n.mesa().DescripcionCorta = corta;
        n.resuelve();
        EXPECT_EQ(n.noticias(),
                  corta ? "Mister John Doberman dice: " : Apertura + SoloRecordar + n.nombre(1) + Feliz);

        Noche m;
        m.mesa().DescripcionCorta = corta;
        m.juega(3, CambioHeredero);
        m.resuelve();
        const std::string sucesos = Papeles + m.nombre(2) + ". \r\n";
        EXPECT_EQ(m.noticias(), corta ? "Mister John Doberman trae nuevas noticias por la mañana:" + sucesos +
                                            ComoSabran + m.nombre(2) + Feliz
                                      : Noticias(m, sucesos, 2));
        // Said without waiting; the report that follows waits for it.
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
    n.sala(2, 3), n.sala(3, 3);
    n.juega(3, Fuerte[4], 2);
    n.juega(5, CambioCarta, 2);
    n.juega(6, Debil[0], 2, true);
    n.juega(9, Debil[1], 2);
    n.juega(4, Debil[2], 8);
    n.resuelve();
    const std::string final = " que le elimina definitivamente como aspirante a la fortuna de Veldrisa";
    auto dichos = n.eventos(EventKind::Said);
    ASSERT_GE(dichos.size(), 3u);
    EXPECT_EQ(dichos[0],
              Event::said(n.nombre(2) + " cuando estaba en La biblioteca ha recibido un ataque de " +
                              n.nombre(3) + " y de " + n.nombre(9) + final,
                          true, true));
    EXPECT_EQ(dichos[1], Event::said(n.nombre(8) + " cuando estaba en El salón ha recibido un ataque de " +
                                         n.nombre(4) + final,
                                     true, true));
    EXPECT_TRUE(dichos[2].text.starts_with("Un nuevo día"));
}

}  // namespace
}  // namespace veldrisa
