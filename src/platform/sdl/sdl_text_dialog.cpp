// The name dialog's event loop, editing and drawing.
#include "platform/sdl/sdl_text_dialog.hpp"

#include <algorithm>

#include "common/unicode.hpp"
#include "platform/sdl/utf8_text.hpp"

namespace veldrisa {
namespace {

constexpr int Padding = 24;
constexpr int Border = 3;

}  // namespace

std::string SdlTextDialog::ask(const std::string& title, const std::string& prompt, const std::string& initial) {
    text_ = ValidUtf8(initial);
    selected_ = !text_.empty();
    bool confirmed = false;
    window_.SetOverlay([&] { DrawBox(title, prompt); });
    for (bool open = true; open && !window_.Closed();) {
        SDL_Event event;
        if (!window_.TakeQueued(event) && !SDL_WaitEvent(&event)) continue;
        if (event.type == SDL_TEXTINPUT) {
            std::string typed = ValidUtf8(event.text.text);
            if (selected_) text_.clear();
            selected_ = false;
            text_ += typed;
            SayPiece(typed);
        } else if (event.type == SDL_KEYDOWN) {
            switch (event.key.keysym.sym) {
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
                confirmed = true;
                open = false;
                break;
            case SDLK_ESCAPE: open = false; break;
            case SDLK_BACKSPACE:
                if (text_.empty()) {
                    speech_.speak("vacío");
                } else {
                    std::string removed = selected_ ? text_ : LastCharacter(text_);
                    text_.resize(text_.size() - removed.size());
                    selected_ = false;
                    SayPiece(removed);
                }
                break;
            case SDLK_UP:
            case SDLK_DOWN: speech_.speak(text_.empty() ? "vacío" : text_); break;
            case SDLK_LEFT:
            case SDLK_RIGHT:
            case SDLK_HOME:
            case SDLK_END: selected_ = false; break;
            case SDLK_LCTRL:
            case SDLK_RCTRL: speech_.speak(""); break;
            default: break;
            }
        } else {
            window_.HandleWindowEvent(event);
            continue;
        }
        window_.Draw();
    }
    window_.SetOverlay(nullptr);
    return confirmed && !window_.Closed() ? text_ : std::string();
}

void SdlTextDialog::SayPiece(const std::string& piece) {
    // A lone space would be heard as nothing at all.
    speech_.speak(piece == " " ? "espacio" : piece);
}

void SdlTextDialog::DrawBox(const std::string& title, const std::string& prompt) {
    SDL_Renderer* r = window_.renderer();
    TTF_Font* font = window_.textFont();
    TTF_Font* titleFont = window_.titleFont();
    const int line = window_.LineHeight(font);
    const int boxWidth = std::max(200, window_.Width() - 2 * Padding);
    const int inner = boxWidth - 2 * Padding;
    std::vector<std::string> promptLines = window_.Wrap(font, ValidUtf8(prompt), inner);
    const int boxHeight = Padding + window_.LineHeight(titleFont) + line / 2 +
                          static_cast<int>(promptLines.size()) * line + line / 2 + line + 2 * Padding + Padding;
    SDL_Rect box{(window_.Width() - boxWidth) / 2, std::max(0, (window_.Height() - boxHeight) / 2), boxWidth, boxHeight};

    SDL_SetRenderDrawColor(r, GameWindow::Foreground.r, GameWindow::Foreground.g, GameWindow::Foreground.b, 255);
    SDL_RenderFillRect(r, &box);
    SDL_Rect inside{box.x + Border, box.y + Border, box.w - 2 * Border, box.h - 2 * Border};
    SDL_SetRenderDrawColor(r, GameWindow::Background.r, GameWindow::Background.g, GameWindow::Background.b, 255);
    SDL_RenderFillRect(r, &inside);

    int x = box.x + Padding;
    int y = box.y + Padding;
    window_.DrawLine(titleFont, window_.Fit(titleFont, ValidUtf8(title), inner), x, y, GameWindow::Highlight);
    y += window_.LineHeight(titleFont) + line / 2;
    for (const auto& l : promptLines) {
        window_.DrawLine(font, l, x, y, GameWindow::Foreground);
        y += line;
    }
    y += line / 2;

    // The field shows the end of the text, where typing happens; a long name is kept whole.
    SDL_Rect field{x, y, inner, line + Padding};
    SDL_SetRenderDrawColor(r, GameWindow::Foreground.r, GameWindow::Foreground.g, GameWindow::Foreground.b, 255);
    SDL_RenderDrawRect(r, &field);
    const int room = inner - Padding;
    std::string shown = LastCharacters(text_, GameWindow::MaxNameCharacters);
    bool cut = shown.size() < text_.size();
    auto width = [&] { return window_.TextWidth(font, (cut ? "…" : "") + shown); };
    while (!shown.empty() && width() > room) {
        shown = LastCharacters(shown, CuentaCaracteres(shown) - 1);
        cut = true;
    }
    shown = (cut ? "…" : "") + shown;
    const int textX = field.x + Padding / 2;
    const int textY = field.y + Padding / 2;
    int drawnWidth = window_.TextWidth(font, shown);
    if (selected_ && drawnWidth > 0) {
        SDL_Rect band{textX, textY, drawnWidth, line};
        SDL_SetRenderDrawColor(r, GameWindow::Highlight.r, GameWindow::Highlight.g, GameWindow::Highlight.b, 255);
        SDL_RenderFillRect(r, &band);
    }
    window_.DrawLine(font, shown, textX, textY, selected_ ? GameWindow::Background : GameWindow::Foreground);
    SDL_Rect caret{textX + drawnWidth + 2, textY, 3, line};
    SDL_SetRenderDrawColor(r, GameWindow::Highlight.r, GameWindow::Highlight.g, GameWindow::Highlight.b, 255);
    SDL_RenderFillRect(r, &caret);
}

}  // namespace veldrisa
