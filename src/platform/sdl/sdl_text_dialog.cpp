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

std::string SdlTextDialog::ask(const std::string& title, const std::string& prompt,
                               const std::string& initial) {
    text_ = ValidUtf8(initial);
    cursor_ = text_.size();
    selected_ = !text_.empty();
    bool confirmed = false;
    window_.SetOverlay([&] { DrawBox(title, prompt); });
    for (bool open = true; open && !window_.Closed();) {
        SDL_Event event;
        if (!window_.TakeQueued(event) && !SDL_WaitEvent(&event)) continue;
        if (event.type == SDL_TEXTINPUT) {
            Type(ValidUtf8(event.text.text));
        } else if (event.type == SDL_KEYDOWN) {
            switch (event.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    confirmed = true;
                    open = false;
                    break;
                case SDLK_ESCAPE: open = false; break;
                case SDLK_BACKSPACE: Delete(Direction::Back); break;
                case SDLK_DELETE: Delete(Direction::Forward); break;
                case SDLK_UP:
                case SDLK_DOWN: speech_.speak(text_.empty() ? "vacío" : text_); break;
                case SDLK_LEFT: MoveTo(selected_ ? 0 : PreviousCharacter(text_, cursor_)); break;
                case SDLK_RIGHT: MoveTo(selected_ ? text_.size() : NextCharacter(text_, cursor_)); break;
                case SDLK_HOME: MoveTo(0); break;
                case SDLK_END: MoveTo(text_.size()); break;
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

void SdlTextDialog::Type(const std::string& typed) {
    if (selected_) {
        text_.clear();
        cursor_ = 0;
        selected_ = false;
    }
    text_.insert(cursor_, typed);
    cursor_ += typed.size();
    speech_.speak(Spoken(typed));
}

void SdlTextDialog::Delete(Direction direction) {
    if (text_.empty()) {
        speech_.speak("vacío");
        return;
    }
    std::size_t from = 0, to = text_.size();
    if (!selected_) {
        from = direction == Direction::Back ? PreviousCharacter(text_, cursor_) : cursor_;
        to = direction == Direction::Back ? cursor_ : NextCharacter(text_, cursor_);
    }
    selected_ = false;
    if (from == to) {
        // Nothing on that side of the cursor: say which end it is at.
        speech_.speak(direction == Direction::Back ? "inicio" : "en blanco");
        return;
    }
    std::string removed = text_.substr(from, to - from);
    text_.erase(from, to - from);
    cursor_ = from;
    speech_.speak("borrado " + Spoken(removed));
}

void SdlTextDialog::MoveTo(std::size_t position) {
    selected_ = false;
    cursor_ = position;
    if (text_.empty())
        speech_.speak("vacío");
    else if (cursor_ == text_.size())
        speech_.speak("en blanco");
    else
        speech_.speak(Spoken(text_.substr(cursor_, NextCharacter(text_, cursor_) - cursor_)));
}

std::string SdlTextDialog::Spoken(const std::string& piece) {
    // A lone space would be heard as nothing at all, and a lone capital as its small letter.
    if (piece == " ") return "espacio";
    if (CuentaCaracteres(piece) == 1 && Minusculas(piece) != piece) return "mayúscula " + piece;
    return piece;
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
                          static_cast<int>(promptLines.size()) * line + line / 2 + line + 2 * Padding +
                          Padding;
    SDL_Rect box{(window_.Width() - boxWidth) / 2, std::max(0, (window_.Height() - boxHeight) / 2), boxWidth,
                 boxHeight};

    SDL_SetRenderDrawColor(r, GameWindow::Foreground.r, GameWindow::Foreground.g, GameWindow::Foreground.b,
                           255);
    SDL_RenderFillRect(r, &box);
    SDL_Rect inside{box.x + Border, box.y + Border, box.w - 2 * Border, box.h - 2 * Border};
    SDL_SetRenderDrawColor(r, GameWindow::Background.r, GameWindow::Background.g, GameWindow::Background.b,
                           255);
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

    // The field shows the part of the name around the cursor; a long name is kept whole.
    SDL_Rect field{x, y, inner, line + Padding};
    SDL_SetRenderDrawColor(r, GameWindow::Foreground.r, GameWindow::Foreground.g, GameWindow::Foreground.b,
                           255);
    SDL_RenderDrawRect(r, &field);
    const auto [from, to] = VisiblePart(font, inner - Padding);
    const std::string before = (from > 0 ? "…" : "") + text_.substr(from, cursor_ - from);
    const std::string shown = before + text_.substr(cursor_, to - cursor_) + (to < text_.size() ? "…" : "");
    const int textX = field.x + Padding / 2;
    const int textY = field.y + Padding / 2;
    int drawnWidth = window_.TextWidth(font, shown);
    if (selected_ && drawnWidth > 0) {
        SDL_Rect band{textX, textY, drawnWidth, line};
        SDL_SetRenderDrawColor(r, GameWindow::Highlight.r, GameWindow::Highlight.g, GameWindow::Highlight.b,
                               255);
        SDL_RenderFillRect(r, &band);
    }
    window_.DrawLine(font, shown, textX, textY, selected_ ? GameWindow::Background : GameWindow::Foreground);
    SDL_Rect caret{textX + window_.TextWidth(font, before) + 1, textY, 3, line};
    SDL_SetRenderDrawColor(r, GameWindow::Highlight.r, GameWindow::Highlight.g, GameWindow::Highlight.b, 255);
    SDL_RenderFillRect(r, &caret);
}

}  // namespace veldrisa

namespace veldrisa {

std::pair<std::size_t, std::size_t> SdlTextDialog::VisiblePart(TTF_Font* font, int room) const {
    std::size_t from = cursor_, to = cursor_;
    auto fits = [&](std::size_t a, std::size_t b) {
        std::string piece = (a > 0 ? "…" : "") + text_.substr(a, b - a) + (b < text_.size() ? "…" : "");
        return window_.TextWidth(font, piece) <= room;
    };
    // What lies before the cursor first: that is where typing happens.
    for (std::size_t taken = 0; taken < GameWindow::MaxNameCharacters; ++taken) {
        std::size_t left = PreviousCharacter(text_, from), right = NextCharacter(text_, to);
        if (left < from && fits(left, to))
            from = left;
        else if (right > to && fits(from, right))
            to = right;
        else
            break;
    }
    return {from, to};
}

}  // namespace veldrisa
