// The table of marks Spanish voices name in English or pass over, and their Spanish names.
#include "platform/shared/spoken_punctuation.hpp"


namespace veldrisa {
namespace {

struct Mark {
    std::string_view mark;
    std::string_view words;
};

// Found by reading every mark of Latin-1 and of the general punctuation block with
// `espeak-ng -v es --punct -x` and keeping those it switches to English for.
// Three dots come before the lone dot that espeak-ng reads well by itself.
constexpr Mark Marks[] = {
    {"...", "puntos suspensivos"},
    {"…", "puntos suspensivos"},
    {"‥", "dos puntos seguidos"},
    {"․", "punto"},
    {"|", "barra vertical"},
    {"‖", "doble barra vertical"},
    {"¦", "barra partida"},
    {"~", "tilde"},
    {"¨", "diéresis"},
    {"¸", "cedilla"},
    {"‐", "guion"},
    {"‑", "guion"},
    {"‧", "guion"},
    {"‒", "semirraya"},
    {"–", "semirraya"},
    {"—", "raya"},
    {"―", "raya"},
    {"‘", "comilla"},
    {"’", "comilla"},
    {"‚", "comilla"},
    {"‛", "comilla"},
    {"“", "comillas"},
    {"”", "comillas"},
    {"„", "comillas"},
    {"‟", "comillas"},
    {"†", "cruz"},
    {"‡", "doble cruz"},
    {"•", "viñeta"},
    {"‣", "viñeta"},
    {"‰", "por mil"},
    {"µ", "micro"},
    {"¼", "un cuarto"},
    {"½", "un medio"},
    {"′", "prima"},
    {"″", "doble prima"},
    {"‴", "triple prima"},
};

const Mark* MarkAt(std::string_view rest) {
    for (const Mark& m : Marks)
        if (rest.starts_with(m.mark)) return &m;
    return nullptr;
}

// Spaces around the words, so that they never join the words beside them.
void AddWords(std::string& spoken, std::string_view words) {
    spoken += ' ';
    spoken += words;
    spoken += ' ';
}

}  // namespace

std::string SpanishMarks(std::string_view text) {
    std::string spoken;
    spoken.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const Mark* m = MarkAt(text.substr(i))) {
            AddWords(spoken, m->words);
            i += m->mark.size();
        } else {
            spoken += text[i++];
        }
    }
    return spoken;
}

}  // namespace veldrisa
