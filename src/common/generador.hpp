// The program's one random generator: a 24-bit linear congruential sequence.
#pragma once

#include <cstdint>

namespace veldrisa {

// Every draw of the game goes through one Generador so that a seed and a list
// of keys always replay the same game.
class Generador {
public:
    static constexpr std::uint32_t Inicial = 327680;

    // Seeding keeps the low 24 bits of the number.
    void Siembra(std::uint32_t s) { x_ = s & Mascara; }

    // Int(r * n) + 1 for a fresh draw r: uniform over 1..n.
    int Entre1Y(int n) { return Entero(n) + 1; }

    // Int(r * n) for a fresh draw r, computed exactly in integers.
    int Entero(int n) {
        Avanza();
        return static_cast<int>((static_cast<std::uint64_t>(x_ & Mascara) * static_cast<std::uint64_t>(n)) >> 24);
    }

    // r < 0.5 for a fresh draw r.
    bool MenorQueMedio() {
        Avanza();
        return (x_ & Mascara) < (1u << 23);
    }

    std::uint32_t Estado() const { return x_ & Mascara; }

private:
    static constexpr std::uint32_t Mascara = (1u << 24) - 1;
    // The state is the low 24 bits of x_. The bits above never reach them through 32-bit
    // wrap-around arithmetic, so a step leaves them be and the mask is applied when the state
    // is read: off the chain of dependent steps, 4,000 of them in each day's deck shuffle.
    void Avanza() { x_ = 1140671485u * x_ + 12820163u; }

    std::uint32_t x_ = Inicial;
};

}  // namespace veldrisa
