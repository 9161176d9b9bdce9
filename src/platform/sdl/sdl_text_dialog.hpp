// The TextDialog port: a modal name field drawn inside the game window, spoken as it is typed.
#pragma once

#include <string>

#include "platform/sdl/game_window.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class SdlTextDialog : public TextDialog {
public:
    SdlTextDialog(GameWindow& window, SpeechEngine& speech) : window_(window), speech_(speech) {}

    // Enter confirms, Escape cancels (""). The initial text starts selected, so the first
    // character typed replaces it and Backspace clears it. Every character typed or deleted
    // is spoken; the up and down arrows read the whole field; Control silences the voice.
    std::string ask(const std::string& title, const std::string& prompt, const std::string& initial) override;

private:
    void DrawBox(const std::string& title, const std::string& prompt);
    // Speaks a piece typed or deleted.
    void SayPiece(const std::string& piece);

    GameWindow& window_;
    SpeechEngine& speech_;
    std::string text_;
    bool selected_ = false;
};

}  // namespace veldrisa
