// Messages written as lines, flushed at once so that a test can follow the game.
#include "platform/shared/file_speech_engine.hpp"

#include <algorithm>
#include <filesystem>

#include "platform/shared/spoken_punctuation.hpp"

namespace veldrisa {

namespace {

// The game's strings are UTF-8; Windows would read a narrow path in its ANSI code page.
std::filesystem::path Path(const std::string& text) {
    return std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size());
}

}  // namespace

FileSpeechEngine::FileSpeechEngine(const std::string& path) : out_(Path(path), std::ios::binary) {}

void FileSpeechEngine::speak(std::string text) {
    // What a SAPI voice is given: the marks in Spanish words.
    text = SpanishMarks(text);
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    out_ << text << '\n' << std::flush;
}

}  // namespace veldrisa
