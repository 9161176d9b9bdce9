// The system's errors in Spanish words.
#include "platform/shared/system_error.hpp"

#include <gtest/gtest.h>

#include <cerrno>

namespace veldrisa {
namespace {

TEST(SystemErrorText, TheErrorsOfFilesAndFoldersInSpanishAndAnyOtherByItsNumber) {
    EXPECT_EQ(SystemErrorText(ENOENT), "no existe");
    EXPECT_EQ(SystemErrorText(EACCES), "sin permiso de acceso");
    EXPECT_EQ(SystemErrorText(EISDIR), "es una carpeta");
    EXPECT_EQ(SystemErrorText(ENOTDIR), "una parte de la ruta no es una carpeta");
    EXPECT_EQ(SystemErrorText(-7), "error del sistema número -7");
    EXPECT_EQ(SystemErrorText(0), "error del sistema número 0");
}

}  // namespace
}  // namespace veldrisa
