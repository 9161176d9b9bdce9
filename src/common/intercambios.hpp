// Long sequences of swaps on a short list: the deck's shuffle, the day's order, the line.
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>
#include <numeric>
#include <span>
#include <utility>

namespace veldrisa {

// Swaps the two positions par(k) gives, for k = 0 .. cuantos - 1, as if one after another.
//
// A swap waits for the one before it whenever they share a position, and on a short list most
// do. So the swaps are split into four runs, each applied to a list of positions of its own,
// the four at once; the list is then read through them, the last run's first.
template <typename Par>
void Intercambios(std::span<std::int16_t> lista, std::size_t cuantos, Par par) {
    constexpr std::size_t Tramos = 4, Maximo = 64;
    assert(lista.size() <= Maximo);
    std::array<std::array<std::uint8_t, Maximo>, Tramos> origen;
    for (auto& o : origen) std::iota(o.begin(), o.end(), std::uint8_t{0});
    const std::size_t largo = (cuantos + Tramos - 1) / Tramos;
    for (std::size_t n = 0; n < largo; ++n) {
        for (std::size_t t = 0; t < Tramos; ++t) {
            const std::size_t k = t * largo + n;
            if (k >= cuantos) break;
            const auto [a, b] = par(k);
            std::swap(origen[t][a], origen[t][b]);
        }
    }
    std::array<std::int16_t, Maximo> antes;
    std::copy(lista.begin(), lista.end(), antes.begin());
    for (std::size_t i = 0; i < lista.size(); ++i) {
        std::size_t j = i;
        for (std::size_t t = Tramos; t-- > 0;) j = origen[t][j];
        lista[i] = antes[j];
    }
}

}  // namespace veldrisa
