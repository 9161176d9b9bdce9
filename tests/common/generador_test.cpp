// The one random generator: its first draws, its seeding, and many draws at once.
#include "common/generador.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace veldrisa {
namespace {

TEST(Generador, FirstDrawsFromTheStartStateAndSeeding) {
    Generador g;
    EXPECT_FALSE(g.MenorQueMedio());
    EXPECT_EQ(g.Estado(), 11837123u);
    EXPECT_EQ(g.Entre1Y(10), 6);  // x = 8949370
    EXPECT_EQ(g.Entero(10), 5);   // x = 9722709
    EXPECT_TRUE(g.MenorQueMedio());
    g.Siembra(0xFF000005u);
    EXPECT_EQ(g.Estado(), 5u);
}

// Many draws at once must be the very draws that one call each would give, whatever the count
// (the chains work sixteen at a time) and the range, and leave the generator where they would.
TEST(Generador, ManyDrawsAtOnceAreTheDrawsOneByOne) {
    for (int n : {1, 9, 37, 255, 256, 1000})
        for (std::size_t cuantos : {0u, 5u, 16u, 17u, 200u, 4000u}) {
            Generador uno, muchos;
            uno.Siembra(12345u + cuantos);
            muchos.Siembra(12345u + cuantos);
            std::vector<std::uint32_t> juntos(cuantos);
            muchos.Entre1Y(n, juntos);
            for (std::size_t k = 0; k < cuantos; ++k)
                ASSERT_EQ(juntos[k], static_cast<std::uint32_t>(uno.Entre1Y(n))) << n << ", draw " << k;
            EXPECT_EQ(muchos.Estado(), uno.Estado()) << n << ", " << cuantos;
            EXPECT_EQ(muchos.Entre1Y(n), uno.Entre1Y(n)) << "the next draw after " << cuantos;
        }
}

}  // namespace
}  // namespace veldrisa
