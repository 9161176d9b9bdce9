// The history on its own: what it keeps and what browsing it returns.
#include <gtest/gtest.h>

#include "speech/historial.hpp"

namespace veldrisa {
namespace {

TEST(HistorialValor, BrowsesBothWaysAndNamesTheEndsWithoutMoving) {
    Historial h;
    EXPECT_EQ(h.Anterior(), PrincipioHistorial);
    EXPECT_EQ(h.MasReciente(), FinalHistorial);
    for (const char* m : {"uno", "dos", "dos", "", "tres"}) h.Guarda(m);
    EXPECT_EQ(h.size(), 3u) << "neither the silence nor a repetition of the newest is kept";
    EXPECT_EQ(h.Siguiente(), FinalHistorial);
    EXPECT_EQ(h.Anterior(), "dos");
    EXPECT_EQ(h.Anterior(), "uno");
    EXPECT_EQ(h.Anterior(), PrincipioHistorial);
    EXPECT_EQ(h.Siguiente(), "dos");
    h.Guarda("");
    EXPECT_EQ(h.Anterior(), "dos") << "the silence brings the browsing back to the newest";
    EXPECT_EQ(h.Primero(), "uno");
    EXPECT_EQ(h.MasReciente(), "tres");
}

TEST(HistorialValor, KeepsTheLatestMessagesOnly) {
    Historial h;
    for (std::size_t i = 0; i < MensajesGuardados + 5; ++i) h.Guarda("mensaje " + std::to_string(i));
    EXPECT_EQ(h.size(), MensajesGuardados);
    EXPECT_EQ(h.Primero(), "mensaje 5");
}

}  // namespace
}  // namespace veldrisa
