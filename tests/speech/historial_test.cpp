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

TEST(HistorialValor, KeepsTheStartOfALongMessageWholeCharactersOnlyAndStaysWithinItsBytes) {
    Historial h;
    // Two-byte characters from an odd offset: the cut falls inside one.
    const std::string largo = "a" + [] {
        std::string s;
        for (std::size_t i = 0; i < BytesPorMensajeGuardado; ++i) s += "ñ";
        return s;
    }();
    h.Guarda(largo);
    h.Guarda(largo);
    EXPECT_EQ(h.size(), 1u) << "a repetition of a long message is still a repetition";
    const std::string guardado = h.MasReciente();
    EXPECT_EQ(guardado.size(), BytesPorMensajeGuardado - 1);
    EXPECT_EQ(largo.rfind(guardado, 0), 0u);

    for (int i = 0; i < 100; ++i) h.Guarda(std::to_string(i) + largo);
    EXPECT_LE(h.bytes(), BytesGuardados);
    EXPECT_GE(h.bytes(), BytesGuardados - BytesPorMensajeGuardado);
    EXPECT_EQ(h.MasReciente().rfind("99a", 0), 0u);
    h.Guarda("corto");
    EXPECT_EQ(h.MasReciente(), "corto");
}

TEST(HistorialValor, BytesThatAreNoUtf8AreCutWhereTheyFall) {
    Historial h;
    h.Guarda(std::string(BytesPorMensajeGuardado + 10, '\x80'));
    EXPECT_EQ(h.size(), 1u);
    EXPECT_EQ(h.MasReciente().size(), BytesPorMensajeGuardado - 3);
}

}  // namespace
}  // namespace veldrisa
