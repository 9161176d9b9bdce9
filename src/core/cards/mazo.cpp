// CargaDatos and the deck: line of succession, catalogue, shuffle, first cards, compaction.
#include "cards/mazo.hpp"

#include <algorithm>
#include <array>

#include "cards/catalogo.hpp"
#include "cards/informe.hpp"

namespace veldrisa {
namespace {

constexpr int SlotsBarajados = 37;  // the last three slots hold the decisive cards during the first deal

void BarajaLinea(Mesa& m, Generador& rnd) {
    for (int i = 1; i <= NumPersonajes; ++i) m.LineaSucesion[i] = static_cast<std::int16_t>(i);
    // Each of 100 draws a in 1..9 swaps the neighbours a and a + 1 of the line.
    std::array<std::uint32_t, 100> pares;
    rnd.Entre1Y(NumPersonajes - 1, pares);
    for (const std::uint32_t a : pares) {
        const int i = static_cast<int>(a);
        Intercambia(m.LineaSucesion[i], m.LineaSucesion[i + 1]);
    }
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
    constexpr int Veces = 2000;
    // Two slots a swap, drawn in order: the first slot, then the second; 1..37 by construction.
    std::array<std::uint32_t, 2 * Veces> slots;
    rnd.Entre1Y(SlotsBarajados, slots);
    auto& mazo = m.Mazo.v;  // the slot s is mazo[s - 1]
    for (std::size_t k = 0; k < slots.size(); k += 2) Intercambia(mazo[slots[k] - 1], mazo[slots[k + 1] - 1]);
}

void CompactaMazo(Mesa& m) {
    // The cards move to the front in their order; the empty slots gather behind them.
    auto& slots = m.Mazo.v;
    std::fill(std::remove(slots.begin(), slots.end(), 0), slots.end(), 0);
}

}  // namespace veldrisa
