// The program's one random generator: a 24-bit linear congruential sequence.
#pragma once

#include <cstdint>
#include <span>

namespace veldrisa {

// Every draw of the game goes through one Generador so that a seed and a list
// of keys always replay the same game.
class Generador {
public:
    static constexpr std::uint32_t Inicial = 327680;
    static constexpr std::uint32_t Multiplicador = 1140671485u;
    static constexpr std::uint32_t Incremento = 12820163u;

    // Seeding keeps the low 24 bits of the number.
    void Siembra(std::uint32_t s) { x_ = s & Mascara; }

    // Int(r * n) + 1 for a fresh draw r: uniform over 1..n.
    int Entre1Y(int n) { return Entero(n) + 1; }

    // out.size() draws of Int(r * n) + 1, in order: the same numbers as as many calls of
    // Entre1Y(n), and the generator ends where they would leave it.
    void Entre1Y(int n, std::span<std::uint32_t> out);

    // Int(r * n) for a fresh draw r, computed exactly in integers.
    int Entero(int n) {
        x_ = Paso(x_);
        return static_cast<int>((static_cast<std::uint64_t>(x_ & Mascara) * static_cast<std::uint64_t>(n)) >> 24);
    }

    // r < 0.5 for a fresh draw r.
    bool MenorQueMedio() {
        x_ = Paso(x_);
        return (x_ & Mascara) < (1u << 23);
    }

    std::uint32_t Estado() const { return x_ & Mascara; }

    static constexpr std::uint32_t Mascara = (1u << 24) - 1;

    // One step of the sequence. The state is the low 24 bits of x: the bits above never
    // reach them through 32-bit wrap-around arithmetic, so a step leaves them be and the mask
    // is applied when the state is read, off the chain of dependent steps.
    static constexpr std::uint32_t Paso(std::uint32_t x) { return Multiplicador * x + Incremento; }

private:
    std::uint32_t x_ = Inicial;
};

}  // namespace veldrisa
