// What a command-line program asks of its system: its own file, its arguments, its standard
// streams (each platform builds its own answers), and paths to and from the game's UTF-8 strings.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veldrisa {

// Empty when the system cannot tell.
std::filesystem::path ExecutableFile();

// The arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Standard input and output carry bytes as they are: no line ends translated.
void UseBinaryStandardStreams();

// Windows would read a narrow string in its ANSI code page; the game's strings are UTF-8.
inline std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}
inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

}  // namespace veldrisa
