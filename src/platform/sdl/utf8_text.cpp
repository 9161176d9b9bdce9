// Validating and cutting UTF-8 text by whole characters.
#include "platform/sdl/utf8_text.hpp"

#include <utf8proc.h>

namespace veldrisa {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string ValidUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    std::size_t i = 0;
    while (i < text.size()) {
        utf8proc_int32_t cp = -1;
        auto n = utf8proc_iterate(bytes + i, static_cast<utf8proc_ssize_t>(text.size() - i), &cp);
        if (n > 0) {
            out.append(text, i, static_cast<std::size_t>(n));
            i += static_cast<std::size_t>(n);
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

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
