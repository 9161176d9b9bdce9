// Drawing the setup screen, the game log and the name field with GDI, and gathering the window's keys and text.
#include "platform/win32/game_window.hpp"

#include <algorithm>
#include <vector>

#include "common/unicode.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

constexpr wchar_t ClassName[] = L"VeldrisaGameWindow";
constexpr wchar_t Title[] = L"La fortuna de Veldrisa";
constexpr COLORREF Background = RGB(0, 0, 0);
constexpr COLORREF Foreground = RGB(255, 255, 255);
constexpr COLORREF Highlight = RGB(255, 221, 0);

// Sizes are given at 96 dots per inch, Windows' 100 %.
constexpr int BaseDpi = USER_DEFAULT_SCREEN_DPI;

HFONT MakeFont(int pixels, bool bold) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

// Text as GDI should draw it: at most n characters, valid, without control characters but line breaks.
std::wstring Drawable(const std::string& text, std::size_t maxCharacters) {
    std::wstring wide = WideFromUtf8(PrimerosCaracteres(text, maxCharacters));
    std::wstring out;
    for (wchar_t c : wide) {
        if (c == L'\t')
            out += L' ';
        else if (c == L'\n' || c == L'\r' || (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)))
            out += c;
    }
    if (MasDeNCaracteres(text, maxCharacters)) out += L'…';
    return out;
}

// Set in a key message's lParam for the right-hand Control and Alt.
constexpr LPARAM ExtendedKey = 1L << 24;

bool Down(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

// An event of this kind with nothing else to say.
WindowEvent Of(WindowEvent::Kind kind) {
    WindowEvent e;
    e.kind = kind;
    return e;
}

int LineHeight(HDC dc) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

std::optional<KeyEvent> GameKey(WPARAM vk, bool shift, bool control, bool alt) {
    const bool letter = vk >= 'A' && vk <= 'Z';
    const bool digit = vk >= '0' && vk <= '9';
    const bool function = vk >= VK_F1 && vk <= VK_F12;
    const bool keypad = vk >= VK_NUMPAD0 && vk <= VK_DIVIDE && vk != VK_SEPARATOR;
    static constexpr WPARAM Others[] = {VK_BACK,  VK_TAB,   VK_RETURN,  VK_SHIFT,  VK_CONTROL,
                                        VK_MENU,  VK_PAUSE, VK_CAPITAL, VK_ESCAPE, VK_SPACE,
                                        VK_PRIOR, VK_NEXT,  VK_END,     VK_HOME,   VK_LEFT,
                                        VK_UP,    VK_RIGHT, VK_DOWN,    VK_INSERT, VK_DELETE};
    if (!letter && !digit && !function && !keypad &&
        std::find(std::begin(Others), std::end(Others), vk) == std::end(Others))
        return std::nullopt;
    // A modifier key counts as held while it goes down.
    shift = shift || vk == VK_SHIFT;
    control = control || vk == VK_CONTROL;
    alt = alt || vk == VK_MENU;
    return KeyEvent{static_cast<int>(vk),
                    (shift ? ModShift : 0) | (control ? ModControl : 0) | (alt ? ModAlt : 0)};
}

ControlAndAlt HeldControlAndAlt(bool leftControl, bool rightControl, bool leftAlt, bool rightAlt) {
    const bool altGr = leftControl && rightAlt;
    return {rightControl || (leftControl && !altGr), leftAlt || (rightAlt && !altGr)};
}

bool StartsAltGr(const MSG& control, const MSG& next) {
    const bool leftControl = control.wParam == VK_CONTROL && !(control.lParam & ExtendedKey);
    const bool keyDown = next.message == WM_KEYDOWN || next.message == WM_SYSKEYDOWN;
    const bool rightAlt = next.wParam == VK_MENU && (next.lParam & ExtendedKey);
    return leftControl && keyDown && rightAlt && next.time == control.time;
}

RECT PlaceInWorkArea(SIZE wanted, const RECT& work) {
    const LONG width = std::min(wanted.cx, work.right - work.left);
    const LONG height = std::min(wanted.cy, work.bottom - work.top);
    const LONG left = work.left + (work.right - work.left - width) / 2;
    const LONG top = work.top + (work.bottom - work.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

std::unique_ptr<Win32GameWindow> Win32GameWindow::Open(std::string& error) {
    std::unique_ptr<Win32GameWindow> w(new Win32GameWindow());
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    type.lpszClassName = ClassName;
    RegisterClassExW(&type);  // fails harmlessly when a second window registers it again
    w->window_ = CreateWindowExW(0, ClassName, Title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Disposicion::AnchoInicial, Disposicion::AltoInicial, nullptr, nullptr,
                                 instance, w.get());
    if (!w->window_) {
        error = "CreateWindowExW falló (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    w->UseDpi(WindowDpi(w->window_));
    RECT frame{0, 0, w->Scaled(Disposicion::AnchoInicial), w->Scaled(Disposicion::AltoInicial)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    w->KeepInWorkArea(SIZE{frame.right - frame.left, frame.bottom - frame.top});
    return w;
}

int WindowDpi(HWND window) {
    // Windows 10 1607 and later tell each window's own; older ones only the screen's.
    using GetDpiForWindowType = UINT(WINAPI*)(HWND);
    static const auto perWindow = reinterpret_cast<GetDpiForWindowType>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (perWindow)
        if (const UINT dpi = perWindow(window)) return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : BaseDpi;
}

void Win32GameWindow::UseDpi(int dpi) {
    dpi_ = dpi;
    if (text_) DeleteObject(text_);
    if (title_) DeleteObject(title_);
    text_ = MakeFont(Scaled(Disposicion::Texto), false);
    title_ = MakeFont(Scaled(Disposicion::Titulo), true);
}

int Win32GameWindow::Scaled(int pixels) const { return MulDiv(pixels, dpi_, BaseDpi); }

// A fixed size can exceed a small screen, and the help line at the foot would hide under the taskbar.
void Win32GameWindow::KeepInWorkArea(SIZE wanted) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT place = PlaceInWorkArea(wanted, monitor.rcWork);
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Win32GameWindow::~Win32GameWindow() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (text_) DeleteObject(text_);
    if (title_) DeleteObject(title_);
}

std::optional<WindowEvent> Win32GameWindow::poll() {
    MSG message;
    while (events_.empty() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) Received(Of(WindowEvent::Kind::Close));
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (events_.empty()) return std::nullopt;
    WindowEvent e = std::move(events_.front());
    events_.pop_front();
    return e;
}

WindowEvent Win32GameWindow::wait() {
    MSG message;
    while (events_.empty()) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            Received(Of(WindowEvent::Kind::Close));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return *poll();
}

void Win32GameWindow::wake() { PostMessageW(window_, WM_APP, 0, 0); }

void Win32GameWindow::show(const View& view) {
    view_ = view;
    Redraw();
}

void Win32GameWindow::Typed(wchar_t unit) {
    if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate_ = unit;
        return;
    }
    std::wstring wide;
    if (unit >= 0xDC00 && unit < 0xE000) {
        if (!highSurrogate_) return;
        wide = {highSurrogate_, unit};
    } else {
        wide = {unit};
    }
    highSurrogate_ = 0;
    WindowEvent e = Of(WindowEvent::Kind::Text);
    e.text = Utf8FromWide(wide);
    Received(std::move(e));
}

void Win32GameWindow::Redraw() {
    if (!IsWindowVisible(window_)) {
        ShowWindow(window_, SW_SHOWNORMAL);
        SetForegroundWindow(window_);
    }
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

LRESULT CALLBACK Win32GameWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32GameWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32GameWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, w, l);
    return self->Handle(message, w, l);
}

LRESULT Win32GameWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const auto held =
                HeldControlAndAlt(Down(VK_LCONTROL), Down(VK_RCONTROL), Down(VK_LMENU), Down(VK_RMENU));
            // Alt+F4 closes the window as its close button does, even while the game speaks.
            if (w == VK_F4 && held.alt) break;
            // AltGr itself, and the Control Windows sends ahead of it, are no keys of the game.
            if (AltGrKey(w, l)) return 0;
            if (auto key = GameKey(w, Down(VK_SHIFT), held.control, held.alt)) {
                WindowEvent e = Of(WindowEvent::Kind::Key);
                e.key = *key;
                e.repeat = (l & (1L << 30)) != 0;
                e.physical = static_cast<int>(w);
                Received(std::move(e));
            }
            // F10 and Alt combinations would otherwise open the (absent) menu and swallow the next key.
            return 0;
        }
        // Text typed on the keyboard: control characters (Backspace, Enter, Control+letters) are
        // the keys' business, and Alt+letter is a shortcut, not typing.
        case WM_CHAR:
            if (w >= 0x20 && w != 0x7F) Typed(static_cast<wchar_t>(w));
            return 0;
        case WM_SYSKEYUP:
        case WM_SYSCHAR: return 0;
        case WM_APP: Received(Of(WindowEvent::Kind::Wake)); return 0;
        case WM_SYSCOMMAND:
            if ((w & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_CLOSE: Received(Of(WindowEvent::Kind::Close)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            RECT area;
            GetClientRect(window_, &area);
            // Drawn off screen first, so that a redraw never flickers.
            HDC memory = CreateCompatibleDC(dc);
            HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
            HGDIOBJ old = SelectObject(memory, bitmap);
            Paint(memory, area);
            BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_SIZE: InvalidateRect(window_, nullptr, FALSE); return 0;
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: Windows suggests the size that keeps the layout,
            // which must still fit that screen's work area.
            UseDpi(HIWORD(w));
            const RECT* suggested = reinterpret_cast<const RECT*>(l);
            KeepInWorkArea(SIZE{suggested->right - suggested->left, suggested->bottom - suggested->top});
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window_, message, w, l);
}

bool Win32GameWindow::AltGrKey(WPARAM virtualKey, LPARAM l) const {
    if (virtualKey == VK_MENU) return (l & ExtendedKey) && Down(VK_LCONTROL);
    if (virtualKey != VK_CONTROL) return false;
    MSG control{window_, WM_KEYDOWN, virtualKey, l, static_cast<DWORD>(GetMessageTime()), {}};
    MSG next;
    return PeekMessageW(&next, window_, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) && StartsAltGr(control, next);
}

void Win32GameWindow::Paint(HDC dc, const RECT& area) {
    HBRUSH black = CreateSolidBrush(Background);
    FillRect(dc, &area, black);
    DeleteObject(black);
    SetBkMode(dc, TRANSPARENT);
    const int margin = Scaled(Disposicion::Margen);
    RECT titleArea{margin, margin, area.right - margin, area.bottom};
    SelectObject(dc, title_);
    SetTextColor(dc, Highlight);
    DrawTextW(dc, Title, -1, &titleArea, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    RECT below{margin, margin + LineHeight(dc) * 3 / 2, area.right - margin, area.bottom};
    if (auto* setup = std::get_if<SetupView>(&view_.screen)) PaintSetup(dc, below, *setup);
    if (auto* log = std::get_if<LogView>(&view_.screen)) PaintLog(dc, below, *log);
    if (view_.field) PaintField(dc, area, *view_.field);
}

void Win32GameWindow::PaintSetup(HDC dc, const RECT& area, const SetupView& view) {
    SelectObject(dc, text_);
    const int line = LineHeight(dc);
    int y = area.top;
    for (int i = 0; i < 10; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const bool current = i + 1 == view.cursor;
        std::wstring name = Drawable(view.names[at], MaxNameCharacters);
        std::replace_if(
            name.begin(), name.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
        const std::wstring status = view.selected[at] ? L" — Seleccionado" : L" — No seleccionado";
        const std::wstring number = (current ? L"► " : L"   ") + std::to_wstring(i + 1) + L". ";
        if (current) {
            RECT band{Scaled(Disposicion::Margen) / 2, y, area.right + Scaled(Disposicion::Margen) / 2,
                      y + line};
            HBRUSH yellow = CreateSolidBrush(Highlight);
            FillRect(dc, &band, yellow);
            DeleteObject(yellow);
        }
        SetTextColor(dc, current ? Background : Foreground);
        // A long name gives way to the selection, which matters more.
        SIZE statusSize{};
        GetTextExtentPoint32W(dc, status.c_str(), static_cast<int>(status.size()), &statusSize);
        RECT nameArea{area.left, y, area.right - statusSize.cx, y + line};
        RECT numberArea{area.left, y, area.right, y + line};
        DrawTextW(dc, number.c_str(), -1, &numberArea, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        nameArea.left = numberArea.right;
        nameArea.right = std::max(nameArea.left, nameArea.right);
        DrawTextW(dc, number.c_str(), -1, &numberArea, DT_SINGLELINE | DT_NOPREFIX);
        RECT drawnName = nameArea;
        DrawTextW(dc, name.c_str(), -1, &drawnName,
                  DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_CALCRECT);
        drawnName.right = std::min<LONG>(drawnName.right, nameArea.right);
        DrawTextW(dc, name.c_str(), -1, &drawnName, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        RECT statusArea{drawnName.right, y, area.right, y + line};
        DrawTextW(dc, status.c_str(), -1, &statusArea, DT_SINGLELINE | DT_NOPREFIX);
        y += line;
    }
    SetTextColor(dc, Foreground);
    RECT hints{area.left, y + line / 2, area.right, area.bottom};
    const std::wstring help = Drawable(view.help, MaxLogCharacters);
    DrawTextW(dc, help.c_str(), -1, &hints, DT_WORDBREAK | DT_NOPREFIX);
}

void Win32GameWindow::PaintLog(HDC dc, const RECT& whole, const LogView& view) {
    const RECT area = PaintHelpAtFoot(dc, whole, view.help);
    const std::wstring text = Drawable(view.text, MaxLogCharacters);
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
    HFONT chosen = nullptr;
    for (int pixels : Disposicion::Log) {
        // A font still selected into the device context is not freed by DeleteObject.
        SelectObject(dc, text_);
        if (chosen && chosen != text_) DeleteObject(chosen);
        chosen = pixels == Disposicion::Texto ? text_ : MakeFont(Scaled(pixels), false);
        SelectObject(dc, chosen);
        RECT needed = area;
        DrawTextW(dc, text.c_str(), -1, &needed, format | DT_CALCRECT);
        if (needed.bottom <= area.bottom) break;
    }
    SetTextColor(dc, Foreground);
    RECT where = area;
    DrawTextW(dc, text.c_str(), -1, &where, format);
    SelectObject(dc, text_);
    if (chosen != text_) DeleteObject(chosen);
}

// Draws the help in small yellow type at the bottom of the area; returns the room left above it.
RECT Win32GameWindow::PaintHelpAtFoot(HDC dc, const RECT& area, const std::string& helpText) {
    const std::wstring help = Drawable(helpText, MaxLogCharacters);
    HFONT small = MakeFont(Scaled(Disposicion::Ayuda), false);
    SelectObject(dc, small);
    RECT needed{area.left, 0, area.right, 0};
    DrawTextW(dc, help.c_str(), -1, &needed, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    RECT foot{area.left, area.bottom - Scaled(Disposicion::Margen) / 2 - (needed.bottom - needed.top),
              area.right, area.bottom};
    SetTextColor(dc, Highlight);
    DrawTextW(dc, help.c_str(), -1, &foot, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, text_);
    DeleteObject(small);
    return RECT{area.left, area.top, area.right, foot.top};
}

}  // namespace veldrisa

namespace veldrisa {

// A box over the screen: the title, the prompt, and the field with the part of the text around
// the cursor (a long text is kept whole, shown cut), the cursor a yellow bar.
void Win32GameWindow::PaintField(HDC dc, const RECT& area, const FieldView& field) {
    const int padding = Scaled(Disposicion::Margen) * 3 / 4;
    SelectObject(dc, text_);
    const int line = LineHeight(dc);
    RECT box{area.left + padding, 0, area.right - padding, 0};
    const int height = padding * 4 + line * 5;
    // Over the list, below the title, so that the help at the foot (the field's keys) stays in sight.
    box.top = Scaled(Disposicion::Margen) + line * 2;
    box.bottom = box.top + height;
    HBRUSH white = CreateSolidBrush(Foreground), black = CreateSolidBrush(Background);
    FillRect(dc, &box, white);
    RECT inside{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
    FillRect(dc, &inside, black);

    RECT row{box.left + padding, box.top + padding, box.right - padding, box.top + padding + line * 3 / 2};
    SelectObject(dc, title_);
    SetTextColor(dc, Highlight);
    const std::wstring title = Drawable(field.title, MaxNameCharacters);
    DrawTextW(dc, title.c_str(), -1, &row, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, text_);
    SetTextColor(dc, Foreground);
    OffsetRect(&row, 0, line * 3 / 2);
    const std::wstring prompt = Drawable(field.prompt, MaxNameCharacters);
    DrawTextW(dc, prompt.c_str(), -1, &row, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

    RECT frame{row.left, row.bottom + line / 2, row.right, row.bottom + line / 2 + line + padding / 2};
    FrameRect(dc, &frame, white);
    // The characters around the cursor that fit the field, those before it first.
    const std::wstring before = WideFromUtf8(field.text.substr(0, field.cursor));
    const std::wstring after = WideFromUtf8(field.text.substr(field.cursor));
    const int room = frame.right - frame.left - padding;
    auto width = [&](const std::wstring& t) {
        SIZE size{};
        GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::wstring left = before, right;
    while (!left.empty() && width(left) > room * 3 / 4) left.erase(0, 1);
    for (wchar_t c : after) {
        if (width(left + right + c) > room) break;
        right += c;
    }
    const int x = frame.left + padding / 2, y = frame.top + padding / 4;
    HBRUSH yellow = CreateSolidBrush(Highlight);
    if (field.selected) {
        RECT band{x, y, x + width(left + right), y + line};
        FillRect(dc, &band, yellow);
    }
    SetTextColor(dc, field.selected ? Background : Foreground);
    const std::wstring shown = left + right;
    TextOutW(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
    RECT caret{x + width(left), y, x + width(left) + 3, y + line};
    FillRect(dc, &caret, yellow);
    DeleteObject(yellow);
    DeleteObject(white);
    DeleteObject(black);
}

}  // namespace veldrisa
