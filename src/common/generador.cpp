// Many draws of the generator at once: the deck shuffle takes 4,000 a day.
#include "common/generador.hpp"

#include <cstring>

namespace veldrisa {
namespace {

// Eight 32-bit numbers worked on together (one AVX2 register, two SSE2 ones).
using Octeto = std::uint32_t __attribute__((vector_size(32)));

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

// On x86-64, built twice: for processors with AVX2 and for all the others; the loader picks one.
#if defined(__x86_64__)
#define PARA_CADA_PROCESADOR __attribute__((target_clones("avx2", "default")))
#else
#define PARA_CADA_PROCESADOR
#endif

PARA_CADA_PROCESADOR void Generador::Entre1Y(int n, std::span<std::uint32_t> out) {
    // Lanes j of a and b hold the states of the draws i + j and i + 8 + j.
    Octeto a, b;
    std::uint32_t x = x_;
    for (int j = 0; j < 8; ++j) a[j] = x = Paso(x);
    for (int j = 0; j < 8; ++j) b[j] = x = Paso(x);
    const auto escala = static_cast<std::uint32_t>(n);
    std::size_t i = 0;
    for (; i + Cadenas <= out.size(); i += Cadenas) {
        // (x mod 2^24) * n / 2^24 cannot overflow 32 bits while n < 256; larger n take the
        // one-by-one path below.
        if (escala >= 256) break;
        const Octeto da = (((a & Mascara) * escala) >> 24) + 1;
        const Octeto db = (((b & Mascara) * escala) >> 24) + 1;
        std::memcpy(&out[i], &da, sizeof da);
        std::memcpy(&out[i + 8], &db, sizeof db);
        x_ = b[7];
        a = a * Salto16.a + Salto16.c;
        b = b * Salto16.a + Salto16.c;
    }
    for (; i < out.size(); ++i) out[i] = static_cast<std::uint32_t>(Entre1Y(n));
}

}  // namespace veldrisa
