// Many draws of the generator at once: the deck shuffle takes 4,000 a day.
#include "common/generador.hpp"

#include <array>

namespace veldrisa {
namespace {

// Sixteen independent chains, each taking every sixteenth step of the sequence: a step waits
// for the one before it, the chains do not wait for each other. A chain's step is sixteen
// steps composed, x -> a * x + c.
constexpr std::size_t Cadenas = 16;
struct Salto {
    std::uint32_t a = 1, c = 0;
};
constexpr Salto SaltoDeCadena() {
    Salto s;
    for (std::size_t k = 0; k < Cadenas; ++k) s = {Generador::Multiplicador * s.a, Generador::Paso(s.c)};
    return s;
}
constexpr Salto Salto16 = SaltoDeCadena();

}  // namespace

void Generador::Entre1Y(int n, std::span<std::uint32_t> out) {
    std::size_t i = 0;
    // For 0 < n < 256, (x mod 2^24) * n stays within 32 bits.
    if (n > 0 && n < 256 && out.size() >= Cadenas) {
        const auto rango = static_cast<std::uint32_t>(n);
        std::array<std::uint32_t, Cadenas> x;
        for (std::uint32_t& e : x) e = x_ = Paso(x_);
        for (; i + Cadenas <= out.size(); i += Cadenas) {
            for (std::size_t j = 0; j < Cadenas; ++j) out[i + j] = (((x[j] & Mascara) * rango) >> 24) + 1;
            x_ = x[Cadenas - 1];
            for (std::uint32_t& e : x) e = Salto16.a * e + Salto16.c;
        }
    }
    for (; i < out.size(); ++i) out[i] = static_cast<std::uint32_t>(Entre1Y(n));
}

}  // namespace veldrisa
