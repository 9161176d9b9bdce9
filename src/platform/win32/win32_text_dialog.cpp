// The name dialog, laid out in memory, with its field subclassed to speak each change.
#include "platform/win32/win32_text_dialog.hpp"

#include <vector>

#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

constexpr WORD FieldId = 100;
constexpr WORD PromptId = 101;

// A dialog template built word by word: the dialog, then each control, DWORD-aligned.
class Template {
public:
    Template(DWORD style, short width, short height, WORD controls, WORD points, const wchar_t* font) {
        Align();
        Add(LOWORD(style)), Add(HIWORD(style)), Add(0), Add(0);  // style, extended style
        Add(controls), Add(0), Add(0), Add(static_cast<WORD>(width)), Add(static_cast<WORD>(height));
        Add(0), Add(0), Add(0);  // no menu, the default class, no title (set later)
        Add(points), Text(font);
    }
    void Control(DWORD style, short x, short y, short width, short height, WORD id, WORD type) {
        Align();
        style |= WS_CHILD | WS_VISIBLE;
        Add(LOWORD(style)), Add(HIWORD(style)), Add(0), Add(0);  // style, extended style
        Add(static_cast<WORD>(x)), Add(static_cast<WORD>(y)), Add(static_cast<WORD>(width));
        Add(static_cast<WORD>(height)), Add(id), Add(0xFFFF), Add(type), Add(0), Add(0);  // no text, no data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Add(WORD w) { words_.push_back(w); }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Add(static_cast<WORD>(*text));
        Add(0);
    }
    void Align() {
        if (words_.size() % 2) Add(0);
    }
    std::vector<WORD> words_;
};

std::wstring FieldText(HWND field) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool Surrogate(wchar_t c, wchar_t low, wchar_t high) { return c >= low && c <= high; }

}  // namespace

std::string Win32TextDialog::ask(const std::string& title, const std::string& prompt,
                                 const std::string& initial) {
    title_ = WideFromUtf8(title);
    prompt_ = WideFromUtf8(prompt);
    text_ = WideFromUtf8(initial);
    Template form(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 320, 110, 4,
                  14, L"Tahoma");
    form.Control(0, 10, 8, 300, 36, PromptId, 0x0082);                                        // static
    form.Control(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 10, 48, 300, 20, FieldId, 0x0081);  // edit
    form.Control(BS_DEFPUSHBUTTON | WS_TABSTOP, 150, 80, 75, 22, IDOK, 0x0080);               // button
    form.Control(BS_PUSHBUTTON | WS_TABSTOP, 235, 80, 75, 22, IDCANCEL, 0x0080);
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), form.get(), owner_,
                                                   DialogProcedure, reinterpret_cast<LPARAM>(this));
    return answer == IDOK ? Utf8FromWide(text_) : std::string();
}

INT_PTR CALLBACK Win32TextDialog::DialogProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Win32TextDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            self = reinterpret_cast<Win32TextDialog*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, l);
            SetWindowTextW(dialog, self->title_.c_str());
            SetDlgItemTextW(dialog, PromptId, self->prompt_.c_str());
            SetDlgItemTextW(dialog, IDOK, L"Aceptar");
            SetDlgItemTextW(dialog, IDCANCEL, L"Cancelar");
            HWND field = GetDlgItem(dialog, FieldId);
            SetWindowTextW(field, self->text_.c_str());
            SetWindowLongPtrW(field, GWLP_USERDATA, l);
            self->fieldDefault_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldProcedure)));
            self->pendingHigh_ = 0;
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
            return FALSE;  // the focus was set here
        }
        case WM_COMMAND:
            if (LOWORD(w) == IDOK) self->text_ = FieldText(GetDlgItem(dialog, FieldId));
            if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
                EndDialog(dialog, LOWORD(w));
                return TRUE;
            }
            break;
        default: break;
    }
    return FALSE;
}

std::wstring Win32TextDialog::AboutToGo(HWND field, bool forward) const {
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring text = FieldText(field);
    if (start != end) return text.substr(start, end - start);
    if (forward) {
        if (start >= text.size()) return {};
        const bool pair = start + 1 < text.size() && Surrogate(text[start], 0xD800, 0xDBFF);
        return text.substr(start, pair ? 2 : 1);
    }
    if (start == 0) return {};
    const bool pair = start >= 2 && Surrogate(text[start - 1], 0xDC00, 0xDFFF);
    return text.substr(start - (pair ? 2 : 1), pair ? 2 : 1);
}

void Win32TextDialog::SayPiece(const std::wstring& piece) {
    // A lone space would be heard as nothing at all.
    speech_.speak(piece == L" " ? "espacio" : Utf8FromWide(piece));
}

LRESULT CALLBACK Win32TextDialog::FieldProcedure(HWND field, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<Win32TextDialog*>(GetWindowLongPtrW(field, GWLP_USERDATA));
    if (message == WM_KEYDOWN) {
        switch (w) {
            case VK_BACK:
            case VK_DELETE: {
                const std::wstring going = self->AboutToGo(field, w == VK_DELETE);
                if (GetWindowTextLengthW(field) == 0)
                    self->speech_.speak("vacío");
                else if (!going.empty())
                    self->SayPiece(going);
                break;
            }
            case VK_UP:
            case VK_DOWN: {
                const std::wstring text = FieldText(field);
                self->speech_.speak(text.empty() ? "vacío" : Utf8FromWide(text));
                return 0;
            }
            case VK_CONTROL: self->speech_.speak(""); break;
            default: break;
        }
    } else if (message == WM_CHAR && w >= 0x20 && w != 0x7F) {
        const auto c = static_cast<wchar_t>(w);
        const LRESULT result = CallWindowProcW(self->fieldDefault_, field, message, w, l);
        if (Surrogate(c, 0xD800, 0xDBFF)) {
            self->pendingHigh_ = c;
        } else if (Surrogate(c, 0xDC00, 0xDFFF)) {
            if (self->pendingHigh_) self->SayPiece(std::wstring{self->pendingHigh_, c});
            self->pendingHigh_ = 0;
        } else {
            self->SayPiece(std::wstring(1, c));
        }
        return result;
    }
    return CallWindowProcW(self->fieldDefault_, field, message, w, l);
}

}  // namespace veldrisa
