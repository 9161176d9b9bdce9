// The forty cards, their texts, the deck's shuffle and compaction, the first deal and the status report.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

std::vector<int> Ranuras(const Mesa& m) {
    std::vector<int> v;
    for (int k = 1; k <= NumCartas; ++k) v.push_back(m.Mazo[k]);
    return v;
}

Mesa MesaConMazo(const std::vector<int>& cartas) {
    Mesa m;
    for (std::size_t k = 0; k < cartas.size(); ++k) m.Mazo[static_cast<int>(k) + 1] = static_cast<std::int16_t>(cartas[k]);
    return m;
}

TEST(Catalogo, FortyCardsInRunsOfKindsWithTheirRooms) {
    Partida p;
    const Mesa& m = p.mesa();
    ASSERT_EQ(m.Cartas.size(), 41u);
    EXPECT_EQ(m.Cartas[0].Tipo, 0);
    EXPECT_EQ(m.Cartas[0].Texto, "");
    const int primeraDeTipo[] = {1, 2, 4, 6, 10, 18, 26, 34, 41};
    const std::set<int> conObjetivo = {4, 5, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25};
    const std::map<int, int> salas = {{1, 1},  {6, 4},  {7, 1},  {8, 2},  {9, 3},  {10, 1}, {11, 1},
                                      {12, 2}, {13, 2}, {14, 3}, {15, 3}, {16, 4}, {17, 4}};
    for (int tipo = 1; tipo <= 8; ++tipo)
        for (int n = primeraDeTipo[tipo - 1]; n < primeraDeTipo[tipo]; ++n) {
            const Carta& c = m.Cartas[static_cast<std::size_t>(n)];
            EXPECT_EQ(c.Numero, n);
            EXPECT_EQ(c.Tipo, tipo) << "card " << n;
            EXPECT_EQ(c.ConObjetivo, conObjetivo.contains(n)) << "card " << n;
            EXPECT_EQ(c.Sala, salas.contains(n) ? salas.at(n) : -1) << "card " << n;
            EXPECT_NE(c.Texto.find(':'), std::string::npos) << "card " << n;
        }
    EXPECT_EQ(m.Cartas[2].Texto, m.Cartas[3].Texto);
    EXPECT_EQ(m.Cartas[4].Texto, m.Cartas[5].Texto);
    EXPECT_EQ(m.Cartas[34].Texto,
              "Defensa débil, Tapa de cazuela: Si la usa como escudo ¿quién podrá golpearle?.");
    EXPECT_EQ(m.Cartas[40].Texto, "Defensa débil, polvos pica-pica: Lo justo para una escapada en el último momento..");
    EXPECT_EQ(m.Cartas[33].Texto,
              "Defensa fuerte, Piel de titanio: Su piel tiene hoy un brillo especial. siente que nada podrá dañarle.");
}

TEST(TextoCarta, ShortDescriptionsAreTheNameBeforeTheColon) {
    Partida p;
    Mesa& m = p.mesa();
    const std::pair<int, std::string> cortas[] = {
        {0, ""},
        {1, "Las llaves"},
        {8, "Escondite, cocina"},
        {15, "Ataque fuerte, biblioteca"},
        {26, "Defensa fuerte, Sexto sentido"},
        {40, "Defensa débil, polvos pica-pica"},
    };
    m.DescripcionCorta = true;
    for (const auto& [n, texto] : cortas) EXPECT_EQ(TextoCarta(m, n), texto) << "card " << n;
    m.DescripcionCorta = false;
    EXPECT_EQ(TextoCarta(m, 0), "");
    EXPECT_EQ(TextoCarta(m, 26),
              "Defensa fuerte, Sexto sentido: parece que hoy tuviera un sexto sentido que le previene de cualquier "
              "amenaza. ");
    EXPECT_TRUE(TextoCarta(m, 8).starts_with("Escondite, cocina:Entrando por la cocina"));
}

TEST(BarajaMazo, MixesTheFirst37SlotsAndNeverTheLastThree) {
    std::vector<int> lleno(40);
    for (int k = 0; k < 40; ++k) lleno[static_cast<std::size_t>(k)] = k + 1;
    for (std::uint32_t semilla : {1u, 2u, 77u}) {
        Mesa m = MesaConMazo(lleno);
        Generador g;
        g.Siembra(semilla);
        BarajaMazo(m, g);
        auto v = Ranuras(m);
        EXPECT_EQ(std::vector<int>(v.begin() + 37, v.end()), (std::vector<int>{38, 39, 40}));
        EXPECT_TRUE(std::is_permutation(v.begin(), v.begin() + 37, lleno.begin()));
        EXPECT_NE(v, lleno) << "seed " << semilla;
        int quietas = 0;
        for (int k = 0; k < 37; ++k) quietas += v[static_cast<std::size_t>(k)] == k + 1;
        EXPECT_LT(quietas, 10) << "seed " << semilla << ": hardly shuffled";
    }
}

TEST(CompactaMazo, CardsMoveToTheFrontKeepingTheirOrder) {
    const std::pair<std::vector<int>, std::vector<int>> casos[] = {
        {{0, 7, 0, 0, 5, 9, 0}, {7, 5, 9}},
        {{3, 1, 2}, {3, 1, 2}},
        {{0, 0, 0}, {}},
    };
    for (const auto& [antes, despues] : casos) {
        Mesa m = MesaConMazo(antes);
        CompactaMazo(m);
        std::vector<int> esperado = despues;
        esperado.resize(40, 0);
        EXPECT_EQ(Ranuras(m), esperado);
    }
    std::vector<int> huecos(40, 0);
    huecos[39] = 12;
    huecos[20] = 4;
    huecos[0] = 30;
    Mesa m = MesaConMazo(huecos);
    CompactaMazo(m);
    std::vector<int> esperado(40, 0);
    esperado[0] = 30, esperado[1] = 4, esperado[2] = 12;
    EXPECT_EQ(Ranuras(m), esperado);
}

TEST(CargaDatos, DealsFirstCardsAndPutsTheDecisiveOnesAtTheBottom) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    // The status report starts by stopping the pages: look at the table just before it.
    Mesa antes;
    Roster personas;
    bool visto = false;
    b.recorder.listener = [&](const Event& e) {
        b.recorder.events.push_back(e);
        if (!visto && e.kind == EventKind::SoundStop) {
            visto = true;
            antes = b.mesa();
            personas = b.programa.Personajes;
        }
    };
    Generador linea;  // the line is shuffled before the seeding, right after the ten temperaments
    for (int i = 0; i < 10; ++i) linea.MenorQueMedio();
    b.teclas({"ENTER"});
    ASSERT_TRUE(visto);

    std::set<int> primeras;
    for (int i = 1; i <= 10; ++i) {
        EXPECT_GE(personas[i].Carta1, 4);
        primeras.insert(personas[i].Carta1);
    }
    EXPECT_EQ(primeras.size(), 10u);
    std::set<int> enMazo;
    for (int k = 1; k <= 27; ++k) enMazo.insert(antes.Mazo[k]);
    EXPECT_EQ(enMazo.size(), 27u);
    EXPECT_GE(*enMazo.begin(), 4);
    for (int c : primeras) EXPECT_FALSE(enMazo.contains(c));
    EXPECT_EQ(antes.Mazo[28], 1);
    EXPECT_EQ(antes.Mazo[29], 2);
    EXPECT_EQ(antes.Mazo[30], 3);
    for (int k = 31; k <= 40; ++k) EXPECT_EQ(antes.Mazo[k], 0);

    // The same deal again from the seed the clock gave.
    Mesa m = MesaConMazo({});
    for (int j = 4; j <= 40; ++j) m.Mazo[j - 3] = static_cast<std::int16_t>(j);
    Generador g;
    g.Siembra(1);
    BarajaMazo(m, g);
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(personas[i].Carta1, m.Mazo[i]);
    for (int k = 1; k <= 27; ++k) EXPECT_EQ(antes.Mazo[k], m.Mazo[k + 10]);

    Indexado<std::int16_t, 1, 10> esperada;
    for (int i = 1; i <= 10; ++i) esperada[i] = static_cast<std::int16_t>(i);
    for (int n = 0; n < 100; ++n) {
        int a = linea.Entre1Y(9);
        std::swap(esperada[a], esperada[a + 1]);
    }
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(antes.LineaSucesion[i], esperada[i]) << "position " << i;
}

TEST(InformeAspirantes, TheFirstReportDealsTwentyCardsAndLeavesTwentyInTheDeck) {
    for (std::uint32_t semilla : {1u, 9u, 4000u}) {
        Partida p({}, semilla);
        std::set<int> manos;
        for (int i = 1; i <= 10; ++i) {
            manos.insert(p.P(i).Carta1);
            manos.insert(p.P(i).Carta2);
            EXPECT_EQ(p.P(i).Sala, -1);
            EXPECT_EQ(p.P(i).CartaElegida, 0);
        }
        EXPECT_EQ(manos.size(), 20u);
        for (int c : {0, 1, 2, 3}) EXPECT_FALSE(manos.contains(c)) << "card " << c << " seed " << semilla;
        std::set<int> mazo;
        for (int k = 1; k <= 20; ++k) mazo.insert(p.mesa().Mazo[k]);
        for (int k = 21; k <= 40; ++k) EXPECT_EQ(p.mesa().Mazo[k], 0);
        EXPECT_EQ(mazo.size(), 20u);
        for (int c : mazo) EXPECT_FALSE(manos.contains(c));
        EXPECT_FALSE(mazo.contains(0));
        EXPECT_EQ(p.mesa().Fase, 1);
        EXPECT_EQ(p.mesa().NumSalas, 4);
        EXPECT_GE(p.mesa().Heredero, 1);
        EXPECT_LE(p.mesa().Heredero, 10);
    }
}

TEST(NuevaPartida, SoundsGetTheirFilesFromTheProgramFolderAndTheFireStarts) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    b.teclas({"ENTER"});
    std::vector<Event> sonidos;
    std::string carpeta;
    for (const auto& e : b.recorder.events) {
        if (e.kind == EventKind::DirectoryChanged && sonidos.empty()) carpeta = e.text;
        if (e.kind == EventKind::SoundFile || e.kind == EventKind::SoundPlay || e.kind == EventKind::SoundStop)
            sonidos.push_back(e);
    }
    ASSERT_FALSE(carpeta.empty()) << "the program's folder becomes the current directory first";
    const std::string enCarpeta = carpeta.ends_with("/") ? carpeta : carpeta + "/";
    EXPECT_EQ(sonidos, (std::vector<Event>{
                           Event(EventKind::SoundFile, enCarpeta + "fuego.wav", 1),
                           Event(EventKind::SoundFile, enCarpeta + "Vaso rompiéndose.mp3", 2),
                           Event(EventKind::SoundFile, "Pasar páginas.mp3", 3),
                           Event(EventKind::SoundFile, "Ronquido.mp3", 4),
                           Event(EventKind::SoundStop, {}, 3),
                           Event(EventKind::SoundStop, {}, 4),
                           Event(EventKind::SoundPlay, {}, 1),
                       }));
    EXPECT_TRUE(b.dicho().starts_with("Los actuales aspirantes a la fortuna de Veldrisa son: "));
}

TEST(InformeAspirantes, LogListsEveryoneWithCutCardTextsAndSpeaksTheLiving) {
    Partida p;
    Mesa& m = p.mesa();
    // A later day: everybody holds one card, character 6 is dead.
    for (int k = 1; k <= 40; ++k) m.Mazo[k] = 0;
    for (int i = 1; i <= 10; ++i) {
        p.P(i).Carta1 = static_cast<std::int16_t>(i + 20);
        p.P(i).Carta2 = 0;
        m.Mazo[i] = static_cast<std::int16_t>(i);
    }
    p.P(1).Carta1 = 32;
    m.Mazo[1] = 8;
    p.P(6).Vivo = false;
    p.P(10).Vivo = false;
    InformeAspirantes(p.f());

    const std::string& log = m.Label1;
    EXPECT_TRUE(log.starts_with(p.nombre(1) +
                                ": (Falso) \r\n- Defensa fuerte, Chaleco antibalas: Con ésto no hab\r\n- Escondite, "
                                "cocina:Entrando por la cocina, al fondo\r\n" +
                                p.nombre(2) + ": (Falso) \r\n- "))
        << log;
    EXPECT_NE(log.find(p.nombre(4) + ": (Verdadero) \r\n"), std::string::npos);
    EXPECT_NE(log.find(p.nombre(6) + ": (Falso) \r\n(muerto)\r\n" + p.nombre(7) + ": (Verdadero) \r\n- "),
              std::string::npos);
    EXPECT_TRUE(log.ends_with(p.nombre(10) + ": (Falso) \r\n(muerto)\r\n"));
    EXPECT_EQ(p.P(6).Carta1, 26) << "the dead keep what they held";
    EXPECT_EQ(p.P(6).Carta2, 0);

    std::string lista;
    for (int i : {1, 2, 3, 4, 5, 7, 8, 9}) lista += (lista.empty() ? "" : "; ") + p.nombre(i);
    EXPECT_EQ(p.eventos(EventKind::Said).back(),
              Event::said("Los actuales aspirantes a la fortuna de Veldrisa son: " + lista +
                              ". Pulse espacio para continuar.",
                          true, false));
    // The dead's slots stay in the deck, shuffled in among the rest.
    std::multiset<int> mazo;
    for (int k = 1; k <= 40; ++k)
        if (m.Mazo[k]) mazo.insert(m.Mazo[k]);
    EXPECT_EQ(mazo, (std::multiset<int>{6, 10}));
    EXPECT_EQ(m.Mazo[3], 0);
}

}  // namespace
}  // namespace veldrisa
