// Swaps applied in four runs at once give the list that the swaps one after another give.
#include "common/intercambios.hpp"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace veldrisa {
namespace {

TEST(Intercambios, AnyCountOnAnyListIsTheSwapsOneAfterAnother) {
    std::mt19937 azar(11);
    for (std::size_t largo : {1u, 2u, 10u, 37u, 64u})
        for (std::size_t cuantos : {0u, 1u, 3u, 4u, 7u, 201u, 2000u}) {
            std::uniform_int_distribution<std::size_t> posicion(0, largo - 1);
            std::vector<std::pair<std::size_t, std::size_t>> pares(cuantos);
            for (auto& p : pares) p = {posicion(azar), posicion(azar)};
            std::vector<std::int16_t> lista(largo), esperada(largo);
            for (std::size_t i = 0; i < largo; ++i)
                lista[i] = esperada[i] = static_cast<std::int16_t>(100 + i);
            for (const auto& [a, b] : pares) std::swap(esperada[a], esperada[b]);
            Intercambios(lista, cuantos, [&](std::size_t k) { return pares[k]; });
            EXPECT_EQ(lista, esperada) << largo << " long, " << cuantos << " swaps";
        }
}

}  // namespace
}  // namespace veldrisa
