// The TextDialog port: a modal name field drawn inside the game window, spoken as it is typed.
#pragma once

#include <string>
#include <utility>

#include "platform/sdl/game_window.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class SdlTextDialog : public TextDialog {
public:
    SdlTextDialog(GameWindow& window, SpeechEngine& speech) : window_(window), speech_(speech) {}

    // Enter confirms, Escape cancels (""). The initial text starts selected, so the first
    // character typed replaces it and Backspace clears it. As in a screen reader's text field,
    // every character typed is spoken, a deleted one as "borrado a", a capital as
    // "mayúscula A"; Left, Right, Home and End move the cursor and speak the character reached
    // ("en blanco" at the end); the up and down arrows read the whole field; Control silences
    // the voice.
    std::string ask(const std::string& title, const std::string& prompt, const std::string& initial) override;

private:
    enum class Direction { Back, Forward };
    void Type(const std::string& typed);
    void Delete(Direction direction);
    void MoveTo(std::size_t position);
    static std::string Spoken(const std::string& piece);
    void DrawBox(const std::string& title, const std::string& prompt);
    // The bytes [first, second) of the text drawn in room pixels, the cursor among them.
    std::pair<std::size_t, std::size_t> VisiblePart(TTF_Font* font, int room) const;

    GameWindow& window_;
    SpeechEngine& speech_;
    std::string text_;
    std::size_t cursor_ = 0;  // a byte offset at the start of a character
    bool selected_ = false;
};

}  // namespace veldrisa
