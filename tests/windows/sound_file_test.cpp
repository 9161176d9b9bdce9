// Which files the room sounds may come from, and the conversions at every Windows call.
#include "platform/win32/sound_file.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "platform/shared/sound_file.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

class SoundFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / L"veldrisa sonidos ñ";
        utf8 = Utf8FromWide(folder.wstring());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / L"Ronquido.mp3");  // a folder with a sound's name
        std::ofstream(folder / L"Vaso rompiéndose.mp3") << "ID3";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
    std::string utf8;  // the folder as the game gives it
    std::string problem;
};

TEST_F(SoundFile, IsTakenFromTheProgramsFolderAlone) {
    auto file = UsableSoundFile(utf8, "Vaso rompiéndose.mp3", problem);
    ASSERT_TRUE(file) << problem;
    EXPECT_EQ(*file, folder / L"Vaso rompiéndose.mp3");
    // Whatever folder the name carries, the file is looked up in the program's.
    file = UsableSoundFile(utf8, "C:\\otra\\carpeta\\Vaso rompiéndose.mp3", problem);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->parent_path(), folder);
    EXPECT_FALSE(UsableSoundFile(utf8, "..\\fuego.wav", problem));
}

TEST_F(SoundFile, WithoutAKnownFolderNothingIsPlayed) {
    std::filesystem::current_path(folder);
    EXPECT_FALSE(UsableSoundFile("", "Vaso rompiéndose.mp3", problem)) << "never the current directory";
    EXPECT_EQ(problem, "no se conoce la carpeta del programa");
    EXPECT_FALSE(UsableSoundFile("relativa", "Vaso rompiéndose.mp3", problem));
    std::filesystem::current_path(folder.parent_path());
}

TEST_F(SoundFile, RefusesMissingFilesFoldersAndHugeFiles) {
    EXPECT_FALSE(UsableSoundFile(utf8, "Pasar páginas.mp3", problem));
    EXPECT_EQ(problem, "no existe o no se puede abrir");
    EXPECT_FALSE(UsableSoundFile(utf8, "Ronquido.mp3", problem));
    EXPECT_EQ(problem, "no es un archivo normal");
    EXPECT_FALSE(UsableSoundFile(utf8, "CON", problem)) << "a device is no sound file";

    const auto huge = folder / L"fuego.wav";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, MaxSoundBytes);
    EXPECT_TRUE(UsableSoundFile(utf8, "fuego.wav", problem)) << problem;
    std::filesystem::resize_file(huge, MaxSoundBytes + 1);
    EXPECT_FALSE(UsableSoundFile(utf8, "fuego.wav", problem));
    EXPECT_NE(problem.find("como mucho"), std::string::npos);
}

TEST(WideText, ConvertsBothWaysAndReplacesWhatIsNotText) {
    const std::string text = "Ñandú 名前 😀 e\xCC\x81";
    EXPECT_EQ(WideFromUtf8(text), L"Ñandú 名前 😀 e\u0301");
    EXPECT_EQ(Utf8FromWide(WideFromUtf8(text)), text);
    EXPECT_EQ(WideFromUtf8(""), L"");
    EXPECT_EQ(WideFromUtf8("a\xC0\xAF"
                           "b"),
              L"a\uFFFD\uFFFDb");
    EXPECT_EQ(Utf8FromWide(std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'}), "x\xEF\xBF\xBDy");
}

}  // namespace
}  // namespace veldrisa
