// The program's one random generator: a 24-bit linear congruential sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace veldrisa {
namespace generador {

constexpr std::uint32_t Multiplicador = 1140671485u;
constexpr std::uint32_t Incremento = 12820163u;

// n steps x -> Multiplicador * x + Incremento (mod 2^32) composed into one: x -> a * x + c.
struct Salto {
    std::uint32_t a = 1, c = 0;
};
constexpr Salto Pasos(std::size_t n) {
    Salto s;
    for (std::size_t k = 0; k < n; ++k) s = {Multiplicador * s.a, Multiplicador * s.c + Incremento};
    return s;
}

}  // namespace generador

// Every draw of the game goes through one Generador so that a seed and a list
// of keys always replay the same game.
class Generador {
public:
    static constexpr std::uint32_t Inicial = 327680;

    // Seeding keeps the low 24 bits of the number.
    void Siembra(std::uint32_t s) { x_ = s & Mascara; }

    // Int(r * n) + 1 for a fresh draw r: uniform over 1..n.
    int Entre1Y(int n) { return Entero(n) + 1; }

    // out.size() draws of Int(r * n) + 1 for n <= 255, in order: the same numbers as as many
    // calls of Entre1Y(n), and the generator ends where they would leave it. Inline, so that
    // n is known where the draws are scaled: the deck shuffle takes 4,000 a day.
    void Entre1Y(int n, std::span<std::uint8_t> out) {
        std::uint32_t cadena[Cadenas];
        std::uint32_t x = x_;
        for (auto& c : cadena) c = x = Paso(x);
        // Here cadena[j] holds the state that gives the draw i + j.
        std::size_t i = 0;
        for (; i + Cadenas <= out.size(); i += Cadenas) {
            x_ = cadena[Cadenas - 1];
            for (std::size_t j = 0; j < Cadenas; ++j) {
                out[i + j] = static_cast<std::uint8_t>(Escala(cadena[j], n) + 1);
                cadena[j] = SaltoDeCadena.a * cadena[j] + SaltoDeCadena.c;
            }
        }
        for (; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(Entre1Y(n));
    }

    // Int(r * n) for a fresh draw r, computed exactly in integers.
    int Entero(int n) {
        x_ = Paso(x_);
        return Escala(x_, n);
    }

    // r < 0.5 for a fresh draw r.
    bool MenorQueMedio() {
        x_ = Paso(x_);
        return (x_ & Mascara) < (1u << 23);
    }

    std::uint32_t Estado() const { return x_ & Mascara; }

private:
    static constexpr std::uint32_t Mascara = (1u << 24) - 1;

    // The state is the low 24 bits of x_. The bits above never reach them through 32-bit
    // wrap-around arithmetic, so a step leaves them be and the mask is applied when the state
    // is read: off the chain of dependent steps.
    static constexpr std::uint32_t Paso(std::uint32_t x) {
        return generador::Multiplicador * x + generador::Incremento;
    }

    static int Escala(std::uint32_t x, int n) {
        return static_cast<int>((static_cast<std::uint64_t>(x & Mascara) * static_cast<std::uint64_t>(n)) >> 24);
    }

    // Many draws at once run on independent chains, each taking every Cadenas-th step of the
    // sequence: one step waits for the step before, the chains do not wait for each other.
    static constexpr std::size_t Cadenas = 8;
    static constexpr generador::Salto SaltoDeCadena = generador::Pasos(Cadenas);

    std::uint32_t x_ = Inicial;
};

}  // namespace veldrisa
