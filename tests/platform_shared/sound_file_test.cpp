// Where room sounds may come from and which files may be one.
#include "platform/shared/sound_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace veldrisa {
namespace {

TEST(SoundPath, OnlyTheProgramsFolderWhateverTheNameSays) {
    EXPECT_EQ(SoundPath("/juego/", "fuego.wav"), "/juego/fuego.wav");
    const char separator = std::filesystem::path::preferred_separator;
    EXPECT_EQ(SoundPath("/juego", "Pasar páginas.mp3"),
              "/juego" + std::string(1, separator) + "Pasar páginas.mp3");
    EXPECT_EQ(SoundPath("/juego/", "/juego/Ronquido.mp3"), "/juego/Ronquido.mp3");
    EXPECT_EQ(SoundPath("/juego/", "/otra/Ronquido.mp3"), "/juego/Ronquido.mp3");
    EXPECT_EQ(SoundPath("/juego/", "../../etc/fuego.wav"), "/juego/fuego.wav");
    EXPECT_EQ(SoundPath("", "fuego.wav"), std::nullopt) << "never the current directory";
    EXPECT_EQ(SoundPath("/juego/", ""), std::nullopt);
    EXPECT_EQ(SoundPath("/juego/", "/"), std::nullopt);
}

TEST(SoundFileProblem, RegularFilesUpToTheLimit) {
    EXPECT_EQ(SoundFileProblem(FileKind::Regular, 0), "");
    EXPECT_EQ(SoundFileProblem(FileKind::Regular, MaxSoundBytes), "");
    EXPECT_EQ(SoundFileProblem(FileKind::Regular, MaxSoundBytes + 1),
              "ocupa 32 MB; un sonido puede ocupar 32 MB como mucho");
    EXPECT_EQ(SoundFileProblem(FileKind::Regular, 400ull << 20),
              "ocupa 400 MB; un sonido puede ocupar 32 MB como mucho");
    EXPECT_EQ(SoundFileProblem(FileKind::Other, 0), "no es un archivo normal");
}

}  // namespace
}  // namespace veldrisa
