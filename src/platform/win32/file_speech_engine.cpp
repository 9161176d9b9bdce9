// Messages written as lines, flushed at once so that a test can follow the game.
#include "platform/win32/file_speech_engine.hpp"

#include <algorithm>

#include "platform/recording/process.hpp"
#include "platform/shared/spoken_punctuation.hpp"

namespace veldrisa {

FileSpeechEngine::FileSpeechEngine(const std::string& path) : out_(PathFromUtf8(path), std::ios::binary) {}

void FileSpeechEngine::speak(std::string text) {
    // What a SAPI voice is given: the marks in Spanish words.
    text = SpanishMarks(text);
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    out_ << text << '\n' << std::flush;
}

}  // namespace veldrisa
