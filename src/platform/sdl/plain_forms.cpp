// Characters espeak-ng cannot read as they stand, given in forms it reads: utf8proc's normal forms.
#include "platform/sdl/plain_forms.hpp"

#include <utf8proc.h>

#include <cstdlib>
#include <utility>

namespace veldrisa {
namespace {

// Combining marks that espeak-ng names in English when no letter carries them.
constexpr std::pair<utf8proc_int32_t, std::string_view> CombiningMarks[] = {
    {0x0300, "acento grave"},
    {0x0301, "acento agudo"},
    {0x0302, "acento circunflejo"},
    {0x0303, "tilde"},
    {0x0304, "macrón"},
    {0x0306, "breve"},
    {0x0307, "punto"},
    {0x0308, "diéresis"},
    {0x030A, "anillo"},
    {0x030B, "doble acento agudo"},
    {0x030C, "carón"},
    {0x0327, "cedilla"},
    {0x0328, "ogonek"},
};

// Spaces around the words, so that they never join the words beside them.
void AddWords(std::string& spoken, std::string_view words) {
    spoken += ' ';
    spoken += words;
    spoken += ' ';
}

std::string_view CombiningMarkName(utf8proc_int32_t cp) {
    for (const auto& [mark, name] : CombiningMarks)
        if (mark == cp) return name;
    return "marca diacrítica";
}

// utf8proc's normal forms, of valid UTF-8; the text itself if utf8proc cannot map it.
std::string Normalized(std::string_view text, utf8proc_option_t options) {
    utf8proc_uint8_t* mapped = nullptr;
    const auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                     static_cast<utf8proc_ssize_t>(text.size()), &mapped,
                                     static_cast<utf8proc_option_t>(options | UTF8PROC_STABLE));
    std::string out = length < 0 ? std::string(text) : std::string(reinterpret_cast<char*>(mapped), length);
    std::free(mapped);
    return out;
}

bool Combining(utf8proc_category_t c) {
    return c == UTF8PROC_CATEGORY_MN || c == UTF8PROC_CATEGORY_MC || c == UTF8PROC_CATEGORY_ME;
}

bool LetterOrNumber(utf8proc_category_t c) {
    return (c >= UTF8PROC_CATEGORY_LU && c <= UTF8PROC_CATEGORY_LO) ||
           (c >= UTF8PROC_CATEGORY_ND && c <= UTF8PROC_CATEGORY_NO);
}

// Letters, numbers and symbols carry the marks that follow them.
bool Base(utf8proc_category_t c) {
    return LetterOrNumber(c) || (c >= UTF8PROC_CATEGORY_SM && c <= UTF8PROC_CATEGORY_SO);
}

// One character as espeak-ng should get it. Invisible format characters (joiners, bidirectional
// controls) split a word in two for it and are dropped; a mark on no letter is named; a letter
// or number of another form (Ⅻ, ①, ﬁ, fullwidth letters), which it would spell as a code,
// is given in its plain form. Past Latin-1 only: there ª and º are read well.
void AddCharacter(std::string& spoken, std::string_view character, utf8proc_int32_t cp, bool& afterBase) {
    const utf8proc_category_t category = utf8proc_category(cp);
    const bool lone = Combining(category) && !afterBase;
    afterBase = Base(category) || (Combining(category) && afterBase);
    if (category == UTF8PROC_CATEGORY_CF) return;
    if (lone)
        AddWords(spoken, CombiningMarkName(cp));
    else if (cp >= 0x100 && LetterOrNumber(category))
        spoken += Normalized(character, static_cast<utf8proc_option_t>(UTF8PROC_COMPOSE | UTF8PROC_COMPAT));
    else
        spoken += character;
}

}  // namespace

std::string PlainForms(std::string_view text) {
    // Composed first: a letter and its accent typed apart are read as the accented letter.
    const std::string composed = Normalized(text, UTF8PROC_COMPOSE);
    std::string spoken;
    spoken.reserve(composed.size());
    bool afterBase = false;
    for (std::size_t i = 0; i < composed.size();) {
        const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(composed.data()) + i;
        utf8proc_int32_t cp = -1;
        const utf8proc_ssize_t n =
            utf8proc_iterate(bytes, static_cast<utf8proc_ssize_t>(composed.size() - i), &cp);
        if (n <= 0) {
            spoken += composed[i++];
            afterBase = false;
        } else {
            AddCharacter(spoken, std::string_view(composed).substr(i, static_cast<std::size_t>(n)), cp,
                         afterBase);
            i += static_cast<std::size_t>(n);
        }
    }
    return spoken;
}

}  // namespace veldrisa
