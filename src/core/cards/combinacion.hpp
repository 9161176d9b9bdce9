// The computer's two choices read a hand as one number and look it up in a table of rules.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

#include "table/mesa.hpp"

namespace veldrisa {

// Combinacion: 10 x the first card's kind + the second's, 11..88 for a hand of two cards.
inline int Combinacion(const Carta& primera, const Carta& segunda) {
    return 10 * static_cast<int>(primera.Tipo) + static_cast<int>(segunda.Tipo);
}
constexpr int MayorCombinacion =
    10 * static_cast<int>(TipoCarta::DefensaDebil) + static_cast<int>(TipoCarta::DefensaDebil);

// A row of a choice table: the combinations desde..hasta, both included, follow regla.
template <typename Regla>
struct FilaCombinacion {
    int desde, hasta;
    Regla regla;
};

// A choice table laid out by combination, for a lookup instead of a search every choice: a
// combination takes the rule of the first row that holds it, `resto` when none does.
template <typename Regla>
class TablaCombinaciones {
public:
    template <std::size_t N>
    constexpr TablaCombinaciones(const FilaCombinacion<Regla> (&filas)[N], Regla resto) : resto_(resto) {
        reglas_.fill(resto);
        // Written from the last row up, so that an earlier row has the last word.
        for (auto f = std::rbegin(filas); f != std::rend(filas); ++f)
            for (int c = f->desde; c <= f->hasta; ++c) reglas_[static_cast<std::size_t>(c)] = f->regla;
    }

    constexpr Regla operator[](int combinacion) const {
        if (combinacion < 0 || combinacion > MayorCombinacion) return resto_;
        return reglas_[static_cast<std::size_t>(combinacion)];
    }

private:
    std::array<Regla, MayorCombinacion + 1> reglas_{};
    Regla resto_;
};

}  // namespace veldrisa
