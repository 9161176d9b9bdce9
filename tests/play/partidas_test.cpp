// Whole games played on random keys: after every key the cards, the rooms and the heir make sense.
#include <gtest/gtest.h>

#include <random>

#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

// Every card is in one hand or deck slot at most, and missing only once its room has closed.
void CartasEnSuSitio(Partida& p) {
    const Mesa& m = p.mesa();
    int veces[NumCartas + 1] = {};
    for (int i = 0; i <= 10; ++i) ++veces[p.P(i).Carta1], ++veces[p.P(i).Carta2];
    for (int k = 1; k <= NumCartas; ++k) ++veces[m.Mazo[k]];
    for (int c = 1; c <= NumCartas; ++c) {
        EXPECT_LE(veces[c], 1) << "card " << c << " is in two places";
        const int sala = CartaNumero(m, c).Sala;
        if (veces[c] == 0) {
            EXPECT_TRUE(sala >= 1 && !m.SalaAbierta[sala]) << "card " << c << " was lost";
        }
    }
}

// The occupant lists are runs of "0<index>; " that say exactly where each character went.
void OcupantesSegunSalas(Partida& p) {
    const Mesa& m = p.mesa();
    int sala[11] = {};
    for (int s = 1; s <= 4; ++s) {
        const std::string& t = m.OcupantesSala[s];
        std::size_t k = 0;
        while (k < t.size()) {
            auto fin = t.find("; ", k);
            ASSERT_NE(fin, std::string::npos) << "room " << s << ": " << t;
            ASSERT_EQ(t[k], '0') << t;
            int i = std::stoi(t.substr(k + 1, fin - k - 1));
            ASSERT_TRUE(i >= 1 && i <= 10) << t;
            EXPECT_EQ(sala[i], 0) << "character " << i << " is in two rooms";
            sala[i] = s;
            k = fin + 2;
        }
    }
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(sala[i], p.P(i).Sala < 1 ? 0 : p.P(i).Sala) << "character " << i << " in phase " << m.Fase;
}

void DiaEnOrden(Partida& p) {
    const Mesa& m = p.mesa();
    const int fase = m.Fase;
    ASSERT_TRUE(fase == 1 || fase == 2 || fase == 3 || fase == 31 || fase == 5) << fase;
    if (fase == 5) return;
    ASSERT_TRUE(m.Heredero >= 1 && m.Heredero <= 10);
    EXPECT_TRUE(p.f().HerederoActual().Vivo) << "a day is played with a dead heir";
    int vivos = 0;
    for (int i = 1; i <= 10; ++i) {
        const Personaje& q = p.P(i);
        vivos += q.Vivo;
        const bool bien = fase == 1 ? q.Sala == -1
                          : q.Vivo  ? q.Sala == -1 || m.SalaAbierta[q.Sala]
                                    : q.Sala == -1;
        EXPECT_TRUE(bien) << "character " << i << (q.Vivo ? "" : ", dead,") << " in room " << q.Sala;
    }
    EXPECT_GE(vivos, 2);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(m.SalaAbierta[s], s <= m.NumSalas);
    for (int k = 2; k <= NumCartas && fase == 1; ++k)
        EXPECT_FALSE(m.Mazo[k] != 0 && m.Mazo[k - 1] == 0) << "gap in the deck";
}

struct Pulsacion {
    int codigo, modificadores;
};

Pulsacion AlAzar(std::mt19937& azar, int fase) {
    const int r = static_cast<int>(azar() % 100);
    if (fase == 5) return {r < 80 ? '1' : '7', 0};
    if (r < 25) return {' ', 0};
    if (r < 70) return {'1' + r % 4, 0};
    if (r < 76) return {'1' + r % 2, ModControl};
    if (r < 80) return {'0' + (r % 2) * 9, 0};
    if (r < 84) return {96 + r % 10, 0};
    const int otras[] = {'H', 'C', 'P', 113 /* F2 */, 116 /* F5 */, 117 /* F6 */, 17 /* Control */, 'A'};
    return {otras[r % 8], r % 8 == 6 ? ModControl : 0};
}

TEST(Partidas, RandomKeysKeepCardsRoomsAndHeirConsistent) {
    int finales = 0, dias = 0;
    for (std::uint32_t semilla = 1; semilla <= 60; ++semilla) {
        std::mt19937 azar(semilla);
        std::vector<int> jugadores;
        for (int i = 1; i <= 10; ++i)
            if (azar() % 3 == 0) jugadores.push_back(i);
        Partida p(jugadores, semilla * 7919);
        for (int k = 0, terminadas = 0; k < 4000 && terminadas < 3; ++k) {
            const int fase = p.mesa().Fase;
            const Pulsacion t = AlAzar(azar, fase);
            p.tecla(t.codigo, t.modificadores);
            p.olvida();
            const bool fin = fase != 5 && p.mesa().Fase == 5;
            terminadas += fin;
            finales += fin;
            dias += fase != 1 && p.mesa().Fase == 1;
            SCOPED_TRACE("seed " + std::to_string(semilla) + ", key " + std::to_string(k));
            CartasEnSuSitio(p);
            OcupantesSegunSalas(p);
            DiaEnOrden(p);
            ASSERT_FALSE(HasFailure());
        }
    }
    EXPECT_GT(finales, 100) << "the random keys hardly finished a game";
    EXPECT_GT(dias, 1000);
}

}  // namespace
}  // namespace veldrisa
