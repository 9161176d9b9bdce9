// The forty cards and their texts, the deck's shuffle and compaction, the first deal, the status report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "cards/catalogo.hpp"
#include "cards/informe.hpp"
#include "cards/mazo.hpp"
#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

Mesa MesaConMazo(const std::vector<int>& cartas) {
    Mesa m;
    for (std::size_t k = 0; k < cartas.size(); ++k)
        m.Mazo[static_cast<int>(k) + 1] = static_cast<std::int16_t>(cartas[k]);
    return m;
}
std::vector<int> Ranuras(const Mesa& m) { return std::vector<int>(m.Mazo.v.begin(), m.Mazo.v.end()); }

TEST(Catalogo, FortyCardsInRunsOfKindsWithTheirRoomsAndTargets) {
    Partida p;
    const Mesa& m = p.mesa();
    ASSERT_EQ(m.Cartas.size(), 41u);
    EXPECT_EQ(m.Cartas[0].Tipo, TipoCarta::Ninguna);
    EXPECT_EQ(m.Cartas[0].Texto, "");
    //                         1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17
    const int tipo[] = {0, 1, 2, 2, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5};
    const int sala[] = {0, 1, -1, -1, -1, -1, 4, 1, 2, 3, 1, 1, 2, 2, 3, 3, 4, 4};
    for (int n = 1; n <= 40; ++n) {
        const Carta& c = m.Cartas[static_cast<std::size_t>(n)];
        EXPECT_EQ(static_cast<int>(c.Tipo), n <= 17 ? tipo[n] : n <= 25 ? 6 : n <= 33 ? 7 : 8) << "card " << n;
        EXPECT_EQ(c.Sala, n <= 17 ? sala[n] : -1) << "card " << n;
        EXPECT_EQ(c.ConObjetivo, (n >= 4 && n <= 5) || (n >= 10 && n <= 25)) << "card " << n;
    }
    EXPECT_EQ(m.Cartas[2].Texto, m.Cartas[3].Texto);
    EXPECT_EQ(m.Cartas[34].Texto,
              "Defensa débil, Tapa de cazuela: Si la usa como escudo ¿quién podrá golpearle?.");
    EXPECT_EQ(m.Cartas[40].Texto,
              "Defensa débil, polvos pica-pica: Lo justo para una escapada en el último momento..");
}

TEST(TextoCarta, ShortDescriptionsAreTheNameBeforeTheColon) {
    Partida p;
    Mesa& m = p.mesa();
    m.DescripcionCorta = true;
    const std::pair<int, std::string> cortas[] = {{0, ""},
                                                  {1, "Las llaves"},
                                                  {8, "Escondite, cocina"},
                                                  {15, "Ataque fuerte, biblioteca"},
                                                  {26, "Defensa fuerte, Sexto sentido"}};
    for (const auto& [n, texto] : cortas) EXPECT_EQ(TextoCarta(m, n), texto) << "card " << n;
    m.DescripcionCorta = false;
    EXPECT_EQ(TextoCarta(m, 0), "");
    EXPECT_EQ(TextoCarta(m, 26),
              "Defensa fuerte, Sexto sentido: parece que hoy tuviera un sexto sentido que le "
              "previene de cualquier amenaza. ");
}

// The shuffle is 2,000 swaps of two fresh draws, one after another, whatever way it is computed;
// a deck with holes and with the last three slots taken checks every slot and the generator's end.
TEST(BarajaMazo, IsTheSwapsOneAfterAnother) {
    std::vector<int> mazo(40, 0);
    for (int k = 0; k < 40; ++k) mazo[static_cast<std::size_t>(k)] = k % 3 == 0 ? 0 : k + 1;
    for (std::uint32_t semilla : {1u, 500u, 16777215u}) {
        Mesa m = MesaConMazo(mazo), esperada = MesaConMazo(mazo);
        Generador g, uno;
        g.Siembra(semilla);
        uno.Siembra(semilla);
        BarajaMazo(m, g);
        for (int n = 0; n < 2000; ++n) {
            const int a = uno.Entre1Y(37), b = uno.Entre1Y(37);
            std::swap(esperada.Mazo[a], esperada.Mazo[b]);
        }
        EXPECT_EQ(Ranuras(m), Ranuras(esperada)) << "seed " << semilla;
        EXPECT_EQ(g.Estado(), uno.Estado()) << "seed " << semilla;
    }
}

TEST(CompactaMazo, CardsMoveToTheFrontKeepingTheirOrder) {
    std::vector<int> huecos(40, 0);
    huecos[0] = 30, huecos[20] = 4, huecos[39] = 12;
    const std::pair<std::vector<int>, std::vector<int>> casos[] = {
        {{0, 7, 0, 0, 5, 9, 0}, {7, 5, 9}}, {{3, 1, 2}, {3, 1, 2}}, {{}, {}}, {huecos, {30, 4, 12}}};
    for (const auto& [antes, despues] : casos) {
        Mesa m = MesaConMazo(antes);
        CompactaMazo(m);
        std::vector<int> esperado = despues;
        esperado.resize(40, 0);
        EXPECT_EQ(Ranuras(m), esperado);
    }
}

TEST(CargaDatos, DealsFirstCardsAndPutsTheDecisiveOnesAtTheBottom) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    Mesa antes;  // the table as the status report finds it: it starts by stopping the pages
    Roster manos;
    b.recorder.listener = [&, visto = false](const Event& e) mutable {
        if (!visto && e.kind == EventKind::SoundStop)
            antes = b.mesa(), manos = b.programa.Personajes, visto = true;
    };
    b.teclas({"ENTER"});
    std::set<int> primeras, mazo;
    for (int i = 1; i <= 10; ++i) primeras.insert(manos[i].Carta1);
    for (int k = 1; k <= 27; ++k) mazo.insert(antes.Mazo[k]);
    EXPECT_EQ(primeras.size(), 10u);
    EXPECT_EQ(mazo.size(), 27u);
    EXPECT_GE(*primeras.begin(), 4);
    EXPECT_GE(*mazo.begin(), 4);
    for (int c : primeras) EXPECT_FALSE(mazo.contains(c));
    std::vector<int> fondo = Ranuras(antes);
    EXPECT_EQ(std::vector<int>(fondo.begin() + 27, fondo.end()),
              (std::vector<int>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::set<int> linea(antes.LineaSucesion.v.begin(), antes.LineaSucesion.v.end());
    EXPECT_EQ(linea, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(InformeAspirantes, TheFirstReportDealsTwentyCardsAndLeavesTwentyInTheDeck) {
    std::set<int> herederos;
    for (std::uint32_t semilla : {1u, 9u, 4000u, 123456u}) {
        Partida p({}, semilla);
        std::set<int> manos, mazo;
        for (int i = 1; i <= 10; ++i) manos.insert({p.P(i).Carta1, p.P(i).Carta2});
        for (int k = 1; k <= 20; ++k) mazo.insert(p.mesa().Mazo[k]);
        EXPECT_EQ(manos.size(), 20u);
        EXPECT_EQ(mazo.size(), 20u);
        for (int c : {0, 1, 2, 3}) EXPECT_FALSE(manos.contains(c)) << "card " << c << " seed " << semilla;
        for (int c : mazo) EXPECT_FALSE(manos.contains(c) || c == 0);
        for (int k = 21; k <= 40; ++k) EXPECT_EQ(p.mesa().Mazo[k], 0);
        EXPECT_EQ(p.mesa().Fase, Fases::Informe);
        EXPECT_EQ(p.mesa().NumSalas, 4);
        EXPECT_TRUE(p.mesa().Heredero >= 1 && p.mesa().Heredero <= 10);
        herederos.insert(p.mesa().Heredero);
    }
    EXPECT_GT(herederos.size(), 1u) << "the heir is drawn";
}

TEST(NuevaPartida, SoundsGetTheirFilesFromTheProgramFolderAndTheFireStarts) {
    Banco b;
    ASSERT_TRUE(b.programa.Inicia());
    b.teclas({"ENTER"});
    std::vector<Event> sonidos;
    std::string carpeta;
    for (const auto& e : b.recorder.events) {
        if (e.kind == EventKind::DirectoryChanged && sonidos.empty()) carpeta = e.text;
        if (e.kind == EventKind::SoundFile || e.kind == EventKind::SoundPlay ||
            e.kind == EventKind::SoundStop)
            sonidos.push_back(e);
    }
    ASSERT_FALSE(carpeta.empty()) << "the program's folder becomes the current directory first";
    constexpr char separador = std::filesystem::path::preferred_separator;
    const std::string en = carpeta.ends_with(separador) ? carpeta : carpeta + separador;
    EXPECT_EQ(sonidos, (std::vector<Event>{
                           Event(EventKind::SoundFile, en + "fuego.wav", 1),
                           Event(EventKind::SoundFile, en + "Vaso rompiéndose.mp3", 2),
                           Event(EventKind::SoundFile, "Pasar páginas.mp3", 3),
                           Event(EventKind::SoundFile, "Ronquido.mp3", 4),
                           Event(EventKind::SoundStop, {}, 3),
                           Event(EventKind::SoundStop, {}, 4),
                           Event(EventKind::SoundPlay, {}, 1),
                       }));
}

TEST(InformeAspirantes, LogListsEveryoneWithCutCardTextsAndSpeaksTheLiving) {
    Partida p;
    Mesa& m = p.mesa();
    // A later day: everybody holds one card and takes the slot of its own number; 6 and 10 are dead.
    m.Mazo = {};
    for (int i = 1; i <= 10; ++i) p.mano(i, i + 20, 0), m.Mazo[i] = static_cast<std::int16_t>(i);
    p.mano(1, 32, 0);
    m.Mazo[1] = 8;
    p.P(6).Vivo = p.P(10).Vivo = false;
    InformeAspirantes(p.f());

    const std::string& log = m.Label1;
    EXPECT_TRUE(
        log.starts_with(p.nombre(1) +
                        ": (Falso) \r\n- Defensa fuerte, Chaleco antibalas: Con ésto no hab\r\n- Escondite, "
                        "cocina:Entrando por la cocina, al fondo\r\n" +
                        p.nombre(2) + ": (Falso) \r\n- "))
        << log;
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
    // The slots of the dead stay in the deck.
    EXPECT_EQ(std::multiset<int>(m.Mazo.v.begin(), m.Mazo.v.begin() + 2), (std::multiset<int>{6, 10}));
    EXPECT_EQ(m.Mazo[3], 0);
}

}  // namespace
}  // namespace veldrisa
