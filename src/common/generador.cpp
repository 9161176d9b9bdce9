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

// Draws into out in blocks of sixteen, as many whole blocks as fit, and says how many it made;
// x ends as the state of the last one. For 0 < n < 256: (x mod 2^24) * n stays within 32 bits.
[[gnu::always_inline]] inline std::size_t EnCadenas(std::uint32_t& x, std::uint32_t n,
                                                    std::span<std::uint32_t> out) {
    // Lanes j of a and b hold the states of the draws i + j and i + 8 + j.
    Octeto a, b;
    std::uint32_t y = x;
    for (int j = 0; j < 8; ++j) a[j] = y = Generador::Paso(y);
    for (int j = 0; j < 8; ++j) b[j] = y = Generador::Paso(y);
    std::size_t i = 0;
    for (; i + Cadenas <= out.size(); i += Cadenas) {
        const Octeto da = (((a & Generador::Mascara) * n) >> 24) + 1;
        const Octeto db = (((b & Generador::Mascara) * n) >> 24) + 1;
        std::memcpy(&out[i], &da, sizeof da);
        std::memcpy(&out[i + 8], &db, sizeof db);
        x = b[7];
        a = a * Salto16.a + Salto16.c;
        b = b * Salto16.a + Salto16.c;
    }
    return i;
}

// The same code built twice: with AVX2 one vector operation works on eight lanes at once.
#if defined(__x86_64__)
[[gnu::target("avx2")]] std::size_t EnCadenasAvx2(std::uint32_t& x, std::uint32_t n,
                                                  std::span<std::uint32_t> out) {
    return EnCadenas(x, n, out);
}
#endif

std::size_t EnCadenasBase(std::uint32_t& x, std::uint32_t n, std::span<std::uint32_t> out) {
    return EnCadenas(x, n, out);
}

}  // namespace

void Generador::Entre1Y(int n, std::span<std::uint32_t> out) {
    std::size_t i = 0;
    if (n > 0 && n < 256) {
#if defined(__x86_64__)
        static const bool avx2 = __builtin_cpu_supports("avx2");
        i = avx2 ? EnCadenasAvx2(x_, static_cast<std::uint32_t>(n), out)
                 : EnCadenasBase(x_, static_cast<std::uint32_t>(n), out);
#else
        i = EnCadenasBase(x_, static_cast<std::uint32_t>(n), out);
#endif
    }
    for (; i < out.size(); ++i) out[i] = static_cast<std::uint32_t>(Entre1Y(n));
}

}  // namespace veldrisa
