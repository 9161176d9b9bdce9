// Whole games played on random keys: after every key the game breaks none of its invariants.
#include <gtest/gtest.h>

#include <random>

#include "support/invariantes.hpp"
#include "table/partida.hpp"

namespace veldrisa {
namespace {

using prueba::Partida;

KeyEvent AlAzar(std::mt19937& azar, Fases fase) {
    const int r = static_cast<int>(azar() % 100);
    if (fase == Fases::FinPartida) return {Tecla::Digito(r < 80 ? 1 : 7), 0};
    if (r < 25) return {Tecla::Espacio, 0};
    if (r < 70) return {Tecla::Digito(1 + r % 4), 0};
    if (r < 76) return {Tecla::Digito(1 + r % 2), ModControl};
    if (r < 80) return {Tecla::Digito((r % 2) * 9), 0};
    if (r < 84) return {Tecla::DigitoNumerico(r % 10), 0};
    const int otras[] = {Tecla::H, Tecla::C, Tecla::P, Tecla::F2, Tecla::F5, Tecla::F6, Tecla::Control, Tecla::A};
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
            const Fases fase = p.mesa().Fase;
            const KeyEvent t = AlAzar(azar, fase);
            p.tecla(t.code, t.mask);
            p.olvida();
            const bool fin = fase != Fases::FinPartida && p.mesa().Fase == Fases::FinPartida;
            terminadas += fin;
            finales += fin;
            dias += fase != Fases::Informe && p.mesa().Fase == Fases::Informe;
            SCOPED_TRACE("seed " + std::to_string(semilla) + ", key " + std::to_string(k));
            ASSERT_EQ(Incumplidas(p.f()), std::vector<std::string>{});
        }
    }
    EXPECT_GT(finales, 100) << "the random keys hardly finished a game";
    EXPECT_GT(dias, 1000);
}

}  // namespace
}  // namespace veldrisa
