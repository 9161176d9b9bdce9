// The warnings log: where it is, emptied at each start, each warning once.
#include "platform/win32/warnings.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

namespace veldrisa {
namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Warnings, GoToTheUsersLocalApplicationDataOnceEachAndAnewEachRun) {
    const auto folder = std::filesystem::temp_directory_path() / L"veldrisa datos ñ";
    std::filesystem::remove_all(folder);
    const wchar_t* named = _wgetenv(L"LOCALAPPDATA");
    const std::wstring before = named ? named : L"";
    ASSERT_EQ(_wputenv_s(L"LOCALAPPDATA", folder.c_str()), 0);
    const auto file = WarningsFile();
    EXPECT_EQ(file, folder / L"Veldrisa" / L"avisos.txt");

    StartWarnings();
    ::testing::internal::CaptureStderr();
    Warn("no se pudo cargar el sonido \"C:\\Juegos\\Ronquido.mp3\": falta el decodificador.");
    Warn("no se pudo cargar el sonido \"C:\\Juegos\\Ronquido.mp3\": falta el decodificador.");
    Warn("otro aviso");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Aviso: no se pudo cargar el sonido \"C:\\Juegos\\Ronquido.mp3\": falta el decodificador.\n"
              "Aviso: otro aviso\n");
    EXPECT_EQ(Contents(file),
              "Aviso: no se pudo cargar el sonido \"C:\\Juegos\\Ronquido.mp3\": falta el decodificador.\r\n"
              "Aviso: otro aviso\r\n");

    // The next run starts with an empty log and tells its warnings again.
    StartWarnings();
    EXPECT_EQ(Contents(file), "");
    ::testing::internal::CaptureStderr();
    Warn("otro aviso");
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(Contents(file), "Aviso: otro aviso\r\n");
    _wputenv_s(L"LOCALAPPDATA", before.c_str());
    StartWarnings();
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace veldrisa
