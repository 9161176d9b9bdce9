// Drawing the setup screen, the game log and the name field with SDL2_ttf, and gathering the window's events.
#include "platform/sdl/game_window.hpp"

#include <algorithm>
#include <iostream>

#include "common/unicode.hpp"
#include "platform/sdl/bidi_text.hpp"
#include "platform/shared/valid_utf8.hpp"

namespace veldrisa {
namespace {

constexpr const char* Ellipsis = "…";

constexpr const char* RegularFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans.ttf",
};
constexpr const char* BoldFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/TTF/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
};

template <std::size_t N>
TTF_Font* OpenFont(const char* const (&paths)[N], int points) {
    for (const char* path : paths)
        if (TTF_Font* font = TTF_OpenFont(path, points)) return font;
    return nullptr;
}

// Valid UTF-8 with single \n line breaks and no other control characters, which the font
// would draw as boxes.
std::string Drawable(const std::string& text, std::size_t maxCharacters) {
    std::string valid = ValidUtf8(std::string(PrimerosCaracteres(text, maxCharacters)));
    std::string out;
    out.reserve(valid.size());
    for (std::size_t i = 0; i < valid.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(valid[i]);
        // In valid UTF-8 these two bytes are U+0080..U+009F, the C1 controls.
        const bool c1 = c == 0xC2 && i + 1 < valid.size() && static_cast<unsigned char>(valid[i + 1]) < 0xA0;
        if (c == '\r') {
            out += '\n';
            if (i + 1 < valid.size() && valid[i + 1] == '\n') ++i;
        } else if (c == '\t') {
            out += ' ';
        } else if (c1) {
            ++i;
        } else if ((c >= 0x20 && c != 0x7F) || c == '\n') {
            out += valid[i];
        }
    }
    if (CuentaCaracteres(text) > maxCharacters) out += Ellipsis;
    return out;
}

}  // namespace

std::unique_ptr<GameWindow> GameWindow::Open(std::string& error) {
    std::unique_ptr<GameWindow> w(new GameWindow());
    // The window shows text alone, which SDL's software renderer draws at a negligible cost;
    // by default SDL would load the OpenGL driver for it, which under Mesa's software
    // rasterizer means LLVM: some 90 MiB resident and a tenth of a second before the first
    // word. These settings in the environment still win.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    w->window_ = SDL_CreateWindow(Disposicion::TituloVentana, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  Disposicion::AnchoInicial, Disposicion::AltoInicial,
                                  SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    if (!w->window_) {
        error = SDL_GetError();
        return nullptr;
    }
    w->renderer_ = SDL_CreateRenderer(w->window_, -1, 0);
    if (!w->renderer_) {
        error = SDL_GetError();
        return nullptr;
    }
    if (TTF_Init() == 0) {
        w->text_ = OpenFont(RegularFonts, Disposicion::Texto);
        w->title_ = OpenFont(BoldFonts, Disposicion::Titulo);
        if (!w->title_) w->title_ = OpenFont(RegularFonts, Disposicion::Titulo);
    }
    if (!w->text_ || !w->title_)
        std::cerr << "Aviso: no se encontró la fuente DejaVu Sans; la ventana quedará sin texto.\n";
    // Typed text is gathered all the time, as keys are, so that a name typed while the game
    // was still busy reaches the field that opens next.
    SDL_StartTextInput();
    w->wakeEvent_ = SDL_RegisterEvents(1);
    return w;
}

GameWindow::~GameWindow() {
    if (text_) TTF_CloseFont(text_);
    if (title_) TTF_CloseFont(title_);
    if (TTF_WasInit()) TTF_Quit();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
}

std::optional<WindowEvent> GameWindow::poll() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (auto e = Translate(event)) return e;
    return std::nullopt;
}

WindowEvent GameWindow::wait() {
    for (;;) {
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) continue;
        if (auto e = Translate(event)) return *e;
    }
}

void GameWindow::wake() {
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
}

std::optional<WindowEvent> GameWindow::Translate(const SDL_Event& event) {
    WindowEvent e;
    if (event.type == wakeEvent_) {
        e.kind = WindowEvent::Kind::Wake;
        return e;
    }
    switch (event.type) {
        case SDL_KEYDOWN: {
            const SDL_Keysym& k = event.key.keysym;
            altHeld_ = (k.mod & KMOD_LALT) != 0;
            auto key = MapKey(k.sym, k.scancode, k.mod);
            if (!key) return std::nullopt;
            e.key = *key;
            e.repeat = event.key.repeat != 0;
            e.physical = k.scancode;
            return e;
        }
        case SDL_TEXTINPUT:
            if (altHeld_) return std::nullopt;
            e.kind = WindowEvent::Kind::Text;
            e.text = event.text.text;
            return e;
        case SDL_QUIT: e.kind = WindowEvent::Kind::Close; return e;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                e.kind = WindowEvent::Kind::Close;
                return e;
            }
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Draw();
            return std::nullopt;
        default: return std::nullopt;
    }
}

void GameWindow::show(const View& view) {
    view_ = view;
    if (!shown_) {
        SDL_ShowWindow(window_);
        shown_ = true;
    }
    Draw();
}

void GameWindow::Draw() {
    SDL_SetRenderDrawColor(renderer_, Background.r, Background.g, Background.b, 255);
    SDL_RenderClear(renderer_);
    if (text_ && title_) {
        if (auto* setup = std::get_if<SetupView>(&view_.screen)) DrawSetup(*setup);
        if (auto* log = std::get_if<LogView>(&view_.screen)) DrawLog(*log);
        if (view_.field) DrawField(*view_.field);
    }
    SDL_RenderPresent(renderer_);
}

void GameWindow::DrawSetup(const SetupView& view) {
    const int width = Width() - 2 * Disposicion::Margen;
    int y = Disposicion::Margen;
    DrawLine(title_, Fit(title_, Disposicion::TituloVentana, width), Disposicion::Margen, y, Highlight);
    y += LineHeight(title_) * 3 / 2;
    const int line = LineHeight(text_);
    for (int i = 0; i < 10; ++i) {
        const bool current = i + 1 == view.cursor;
        // A long name gives way to the selection, which matters more.
        const std::string number = (current ? "▶ " : "   ") + std::to_string(i + 1) + ". ";
        const std::string status =
            std::string(" — ") +
            (view.selected[static_cast<std::size_t>(i)] ? "Seleccionado" : "No seleccionado");
        std::string drawable = Drawable(view.names[static_cast<std::size_t>(i)], MaxNameCharacters);
        // A name keeps to its own line.
        std::replace(drawable.begin(), drawable.end(), '\n', ' ');
        const std::string name =
            VisualOrder(Fit(text_, drawable, width - TextWidth(text_, number) - TextWidth(text_, status)),
                        LineDirection::FirstStrong);
        const std::string entry = number + name + status;
        if (current) {
            SDL_Rect band{Disposicion::Margen / 2, y, Width() - Disposicion::Margen, line};
            SDL_SetRenderDrawColor(renderer_, Highlight.r, Highlight.g, Highlight.b, 255);
            SDL_RenderFillRect(renderer_, &band);
        }
        DrawLine(text_, entry, Disposicion::Margen, y, current ? Background : Foreground);
        y += line;
    }
    y += line / 2;
    for (const auto& hint : Wrap(text_, view.help, width)) {
        DrawLine(text_, hint, Disposicion::Margen, y, Highlight);
        y += line;
    }
}

void GameWindow::DrawLog(const LogView& view) {
    const int width = Width() - 2 * Disposicion::Margen;
    int y = Disposicion::Margen;
    DrawLine(title_, Fit(title_, Disposicion::TituloVentana, width), Disposicion::Margen, y, Highlight);
    y += LineHeight(title_) * 3 / 2;
    // The help at the foot in the log's smallest size, so that it takes little of the log's room.
    TTF_SetFontSize(text_, Disposicion::Ayuda);
    const std::vector<std::string> help = Wrap(text_, view.help, width);
    const int helpTop =
        Height() - Disposicion::Margen / 2 - static_cast<int>(help.size()) * LineHeight(text_);
    for (int i = 0; i < static_cast<int>(help.size()); ++i)
        DrawLine(text_, help[static_cast<std::size_t>(i)], Disposicion::Margen,
                 helpTop + i * LineHeight(text_), Highlight);
    const std::string text = Drawable(view.text, MaxLogCharacters);
    std::vector<std::string> lines;
    for (int points : Disposicion::Log) {
        TTF_SetFontSize(text_, points);
        lines = Wrap(text_, text, width);
        if (y + static_cast<int>(lines.size()) * LineHeight(text_) <= helpTop) break;
    }
    const int line = LineHeight(text_);
    for (const auto& l : lines) {
        if (y + line > helpTop) break;
        DrawLine(text_, VisualOrder(l, LineDirection::LeftToRight), Disposicion::Margen, y, Foreground);
        y += line;
    }
    TTF_SetFontSize(text_, Disposicion::Texto);
}

int GameWindow::Width() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return w;
}

int GameWindow::Height() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return h;
}

int GameWindow::TextWidth(TTF_Font* font, const std::string& text) const {
    int w = 0, h = 0;
    if (!font || text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

int GameWindow::LineHeight(TTF_Font* font) const { return font ? TTF_FontLineSkip(font) : 0; }

int GameWindow::DrawLine(TTF_Font* font, const std::string& text, int x, int y, Color color) {
    if (!font || text.empty()) return 0;
    SDL_Surface* surface =
        TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{color.r, color.g, color.b, 255});
    if (!surface) return 0;
    int width = surface->w;
    if (SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface)) {
        SDL_Rect where{x, y, surface->w, surface->h};
        SDL_RenderCopy(renderer_, texture, nullptr, &where);
        SDL_DestroyTexture(texture);
    }
    SDL_FreeSurface(surface);
    return width;
}

std::vector<std::string> GameWindow::Wrap(TTF_Font* font, const std::string& text, int width) const {
    std::vector<std::string> lines;
    if (!font) return lines;
    width = std::max(width, 1);
    // How much of a word fits on a line of its own, in whole characters, at least one.
    auto fitting = [&](const std::string& word) {
        int extent = 0, count = 0;
        TTF_MeasureUTF8(font, word.c_str(), width, &extent, &count);
        return std::string(PrimerosCaracteres(word, static_cast<std::size_t>(std::max(count, 1))));
    };
    std::string paragraph;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string line;
        std::size_t wordStart = 0;
        bool any = false;
        while (wordStart <= paragraph.size()) {
            std::size_t wordEnd = paragraph.find(' ', wordStart);
            if (wordEnd == std::string::npos) wordEnd = paragraph.size();
            std::string word = paragraph.substr(wordStart, wordEnd - wordStart);
            std::string candidate = any ? line + " " + word : word;
            if (TextWidth(font, candidate) <= width) {
                line = std::move(candidate);
            } else {
                if (any) lines.push_back(line);
                while (TextWidth(font, word) > width) {
                    std::string piece = fitting(word);
                    lines.push_back(piece);
                    word.erase(0, piece.size());
                }
                line = std::move(word);
            }
            any = true;
            wordStart = wordEnd + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string GameWindow::Fit(TTF_Font* font, const std::string& text, int width) const {
    if (TextWidth(font, text) <= width) return text;
    int extent = 0, count = 0;
    TTF_MeasureUTF8(font, text.c_str(), std::max(0, width - TextWidth(font, Ellipsis)), &extent, &count);
    return std::string(PrimerosCaracteres(text, static_cast<std::size_t>(std::max(count, 0)))) + Ellipsis;
}

}  // namespace veldrisa

namespace veldrisa {
namespace {

constexpr int FieldPadding = 24;
constexpr int FieldBorder = 3;

}  // namespace

// A box over the list: the title, the prompt, and the field with the part of the text around the
// cursor (a long text is kept whole, shown cut).
void GameWindow::DrawField(const FieldView& field) {
    const int line = LineHeight(text_);
    // As wide as the cursor's band on the list, which it covers whole.
    const int boxWidth = std::max(200, Width() - Disposicion::Margen);
    const int inner = boxWidth - 2 * FieldPadding;
    std::vector<std::string> promptLines = Wrap(text_, ValidUtf8(field.prompt), inner);
    const int boxHeight = FieldPadding + LineHeight(title_) + line / 2 + static_cast<int>(promptLines.size()) * line +
                          line / 2 + line + 3 * FieldPadding;
    // Over the list, below the title, so that the help at the foot (the field's keys) stays in sight.
    const int top = Disposicion::Margen + LineHeight(title_) * 3 / 2;
    SDL_Rect box{(Width() - boxWidth) / 2, top, boxWidth, boxHeight};

    SDL_SetRenderDrawColor(renderer_, Foreground.r, Foreground.g, Foreground.b, 255);
    SDL_RenderFillRect(renderer_, &box);
    SDL_Rect inside{box.x + FieldBorder, box.y + FieldBorder, box.w - 2 * FieldBorder, box.h - 2 * FieldBorder};
    SDL_SetRenderDrawColor(renderer_, Background.r, Background.g, Background.b, 255);
    SDL_RenderFillRect(renderer_, &inside);

    const int x = box.x + FieldPadding;
    int y = box.y + FieldPadding;
    DrawLine(title_, Fit(title_, ValidUtf8(field.title), inner), x, y, Highlight);
    y += LineHeight(title_) + line / 2;
    for (const auto& l : promptLines) {
        DrawLine(text_, l, x, y, Foreground);
        y += line;
    }
    y += line / 2;

    SDL_Rect frame{x, y, inner, line + FieldPadding};
    SDL_SetRenderDrawColor(renderer_, Foreground.r, Foreground.g, Foreground.b, 255);
    SDL_RenderDrawRect(renderer_, &frame);
    const std::string& t = field.text;
    const auto [from, to] = VisiblePart(field, inner - FieldPadding);
    const std::string before = (from > 0 ? Ellipsis : "") + t.substr(from, field.cursor - from);
    const std::string shown = before + t.substr(field.cursor, to - field.cursor) + (to < t.size() ? Ellipsis : "");
    const int textX = frame.x + FieldPadding / 2;
    const int textY = frame.y + FieldPadding / 2;
    const int drawnWidth = TextWidth(text_, shown);
    if (field.selected && drawnWidth > 0) {
        SDL_Rect band{textX, textY, drawnWidth, line};
        SDL_SetRenderDrawColor(renderer_, Highlight.r, Highlight.g, Highlight.b, 255);
        SDL_RenderFillRect(renderer_, &band);
    }
    // A right-to-left name is drawn in its visual order, its cursor counted from the right.
    const std::string visual = VisualOrder(shown, LineDirection::FirstStrong);
    DrawLine(text_, visual, textX, textY, field.selected ? Background : Foreground);
    const int beforeWidth = TextWidth(text_, before);
    const int caretX = visual == shown ? beforeWidth : drawnWidth - beforeWidth;
    SDL_Rect caret{textX + caretX + 1, textY, 3, line};
    SDL_SetRenderDrawColor(renderer_, Highlight.r, Highlight.g, Highlight.b, 255);
    SDL_RenderFillRect(renderer_, &caret);
}

std::pair<std::size_t, std::size_t> GameWindow::VisiblePart(const FieldView& field, int room) const {
    const std::string& t = field.text;
    std::size_t from = field.cursor, to = field.cursor;
    auto fits = [&](std::size_t a, std::size_t b) {
        std::string piece = (a > 0 ? Ellipsis : "") + t.substr(a, b - a) + (b < t.size() ? Ellipsis : "");
        return TextWidth(text_, piece) <= room;
    };
    // What lies before the cursor first: that is where typing happens.
    for (std::size_t taken = 0; taken < MaxNameCharacters; ++taken) {
        std::size_t left = CaracterAnterior(t, from), right = CaracterSiguiente(t, to);
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
