// Odd names typed on the setup screen, then whole games played with them on the test bench.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "common/unicode.hpp"
#include "support/banco.hpp"
#include "setup/nombres_raros.hpp"
#include "support/invariantes.hpp"

namespace veldrisa {
namespace {

using prueba::NombresRaros;

// Every message reaches the engine as it was said, only lower-cased.
void SeHablaComoSeDijo(const Banco& b) {
    const std::string* dicho = nullptr;
    for (const auto& e : b.recorder.events) {
        if (e.kind == EventKind::Said) {
            EXPECT_EQ(dicho, nullptr) << "said but never spoken: " << *dicho;
            dicho = &e.text;
        } else if (e.kind == EventKind::Spoke) {
            ASSERT_NE(dicho, nullptr) << "spoken but never said: " << e.text;
            EXPECT_EQ(e.text, Minusculas(*dicho));
            dicho = nullptr;
        }
    }
}

// A key in the replay notation as the players might press it, for the phase the game is in.
std::string AlAzar(std::mt19937& azar, Fases fase) {
    static const char* const teclas[] = {"SPACE", "SPACE", "1",  "2", "3", "4",  "1",  "2", "CTRL+1",
                                         "CTRL+2", "C",   "P", "H", "F5", "F6", "F2", "CTRL", "9"};
    if (fase == Fases::FinPartida) return "1";
    return teclas[azar() % std::size(teclas)];
}

TEST(NombresRaros, AreStoredAndSpokenAsTypedThroughWholeGames) {
    const auto& raros = NombresRaros();
    const std::size_t tandas = (raros.size() + 9) / 10;
    for (std::size_t tanda = 0; tanda < tandas; ++tanda) {
        SCOPED_TRACE("names from " + std::to_string(tanda * 10));
        Banco b({.seed = static_cast<std::uint32_t>(tanda + 1)});
        ASSERT_TRUE(b.programa.Inicia());
        std::array<std::string, 11> nombres;
        for (int i = 1; i <= 10; ++i) {
            const auto& raro = raros[(tanda * 10 + static_cast<std::size_t>(i) - 1) % raros.size()];
            SCOPED_TRACE(raro.que);
            const std::string antes = b.personaje(i).Nombre;
            b.olvida();
            b.responde(raro.nombre);
            b.teclas({"F2"});
            ASSERT_EQ(b.eventos(EventKind::Dialog).size(), 1u);
            EXPECT_EQ(b.eventos(EventKind::Dialog)[0].initial, antes) << "the dialog starts from the stored name";
            EXPECT_EQ(b.personaje(i).Nombre, raro.nombre);
            EXPECT_EQ(b.dicho(), raro.nombre + "No seleccionado");
            EXPECT_EQ(b.hablados().back(), Minusculas(raro.nombre + "No seleccionado"));
            if (i % 3 != 0) b.teclas({"SPACE"});
            b.teclas({"RIGHT"});
            SeHablaComoSeDijo(b);
            nombres[static_cast<std::size_t>(i)] = raro.nombre;
        }
        b.teclas({"ENTER"});
        ASSERT_EQ(b.programa.pantalla(), Pantalla::Juego);

        std::mt19937 azar(static_cast<std::uint32_t>(tanda));
        int terminadas = 0, herederos = 0;
        for (int k = 0; k < 6000 && terminadas < 3; ++k) {
            const Fases fase = b.mesa().Fase;
            const std::string tecla = AlAzar(azar, fase);
            b.olvida();
            b.teclas({tecla});
            SCOPED_TRACE("key " + std::to_string(k) + ": " + tecla);
            ASSERT_EQ(Incumplidas(b.programa.form1), std::vector<std::string>{});
            for (int i = 1; i <= 10; ++i) ASSERT_EQ(b.personaje(i).Nombre, nombres[static_cast<std::size_t>(i)]);
            SeHablaComoSeDijo(b);
            if (tecla == "H" && fase != Fases::FinPartida) {
                const auto heredero = static_cast<std::size_t>(b.programa.form1.HerederoActual().Indice);
                EXPECT_EQ(b.dicho(), "El heredero actual es " + nombres[heredero]);
                ++herederos;
            }
            terminadas += fase != Fases::FinPartida && b.mesa().Fase == Fases::FinPartida;
            ASSERT_FALSE(HasFailure());
        }
        EXPECT_EQ(terminadas, 3) << "three whole games with these names";
        EXPECT_GT(herederos, 0);
    }
}

}  // namespace
}  // namespace veldrisa
