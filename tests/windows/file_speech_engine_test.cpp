// The test voice: each message a line, in the words a SAPI voice is given.
#include "platform/shared/file_speech_engine.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace veldrisa {
namespace {

TEST(FileSpeechEngine, WritesEachMessageAsALineWithItsMarksInSpanishWords) {
    const auto file = std::filesystem::temp_directory_path() / L"voz de prueba ñ.txt";
    {
        FileSpeechEngine voice(reinterpret_cast<const char*>(file.u8string().c_str()));
        ASSERT_TRUE(voice.open());
        voice.speak("y... en fin… otra pérdida");
        voice.speak("“dos\nlíneas”");
        voice.speak("");
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "y puntos suspensivos  en fin puntos suspensivos  otra pérdida\n"
              " comillas dos líneas comillas \n"
              "\n");
    in.close();
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace veldrisa
