// Cutting UTF-8 text by whole characters.
#include "platform/sdl/utf8_text.hpp"

namespace veldrisa {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string LastCharacter(const std::string& text) { return LastCharacters(text, 1); }

std::string LastCharacters(const std::string& text, std::size_t n) {
    std::size_t start = text.size();
    for (std::size_t taken = 0; taken < n && start > 0; ++taken) {
        --start;
        while (start > 0 && IsContinuation(text[start])) --start;
    }
    return text.substr(start);
}

}  // namespace veldrisa
