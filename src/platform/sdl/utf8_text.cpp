// Stepping through UTF-8 text by whole characters.
#include "platform/sdl/utf8_text.hpp"

namespace veldrisa {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::size_t PreviousCharacter(const std::string& text, std::size_t at) {
    if (at == 0) return 0;
    --at;
    while (at > 0 && IsContinuation(text[at])) --at;
    return at;
}

std::size_t NextCharacter(const std::string& text, std::size_t at) {
    if (at >= text.size()) return text.size();
    ++at;
    while (at < text.size() && IsContinuation(text[at])) ++at;
    return at;
}

}  // namespace veldrisa
