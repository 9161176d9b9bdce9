// CargaDatos and the deck: line of succession, catalogue, shuffle, first cards, compaction.
#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

#include "cards/catalogo.hpp"

namespace veldrisa {
namespace {

constexpr int SlotsBarajados = 37;  // the last three slots hold the decisive cards during the first deal

void BarajaLinea(Mesa& m, Generador& rnd) {
    for (int i = 1; i <= NumPersonajes; ++i) m.LineaSucesion[i] = static_cast<std::int16_t>(i);
    // Each of 100 draws swaps a neighbouring pair of the line.
    std::array<std::uint32_t, 100> pares;
    rnd.Entre1Y(NumPersonajes - 1, pares);
    for (std::uint32_t a : pares) Intercambia(m.LineaSucesion[static_cast<int>(a)], m.LineaSucesion[static_cast<int>(a) + 1]);
}

}  // namespace

void CargaDatos(Form1& f) {
    Mesa& m = f.mesa;
    for (int i = 1; i <= NumPersonajes; ++i) m.LineaSucesion[i] = f.P(i).Indice;
    // The line is shuffled before the seeding, from wherever the generator stands.
    BarajaLinea(m, f.rnd);
    CreaCatalogo(m);
    m.Mazo = {};
    for (int j = 4; j <= NumCartas; ++j) m.Mazo[j - 3] = static_cast<std::int16_t>(j);
    f.rnd.Siembra(f.plataforma.clock.seed());
    BarajaMazo(m, f.rnd);
    for (int i = 1; i <= NumPersonajes; ++i) {
        f.P(i).Carta1 = m.Mazo[i];
        m.Mazo[i] = 0;
    }
    // The keys and the changes of heir are never a first card.
    m.Mazo[38] = 1;
    m.Mazo[39] = 2;
    m.Mazo[40] = 3;
    CompactaMazo(m);
    InformeAspirantes(f);
}

void BarajaMazo(Mesa& m, Generador& rnd) {
    constexpr int Intercambios = 2000;
    // Two slots a swap, drawn in order: the first slot, then the second.
    std::array<std::uint32_t, 2 * Intercambios> slots;
    rnd.Entre1Y(SlotsBarajados, slots);
    // A swap waits for the one before it whenever they share a slot. So the swaps are split into
    // four runs of 500, each applied to a list of slots of its own, the four at once; the deck
    // is then read through the lists, the last run's first. It comes out as it would from the
    // swaps one after another.
    constexpr int Tramos = 4, PorTramo = Intercambios / Tramos;
    std::array<std::array<std::uint8_t, SlotsBarajados>, Tramos> origen;
    for (auto& o : origen) std::iota(o.begin(), o.end(), std::uint8_t{0});
    for (int n = 0; n < PorTramo; ++n) {
        for (int t = 0; t < Tramos; ++t) {
            // The draws are 1..37 by construction, so the lists are indexed without a check. A
            // swap's two draws are read in one load; which half is which does not matter.
            std::uint64_t par;
            std::memcpy(&par, &slots[2 * (t * PorTramo + n)], sizeof par);
            std::swap(origen[t][static_cast<std::uint32_t>(par) - 1], origen[t][(par >> 32) - 1]);
        }
    }
    std::array<std::int16_t, SlotsBarajados> antes;
    std::copy_n(m.Mazo.v.begin(), SlotsBarajados, antes.begin());
    for (int i = 0; i < SlotsBarajados; ++i) {
        int j = i;
        for (int t = Tramos - 1; t >= 0; --t) j = origen[t][j];
        m.Mazo[i + 1] = antes[j];
    }
}

void CompactaMazo(Mesa& m) {
    // The cards move to the front in their order; the empty slots gather behind them. Every
    // slot is written, a card or not, and only a card moves the next place on: the empty slots
    // fall anywhere in a shuffled deck, and a branch on each would be mispredicted half the time.
    auto& slots = m.Mazo.v;
    std::size_t libre = 0;
    for (std::int16_t carta : slots) {
        slots[libre] = carta;
        libre += carta != 0;
    }
    std::fill(slots.begin() + static_cast<std::ptrdiff_t>(libre), slots.end(), 0);
}

}  // namespace veldrisa
