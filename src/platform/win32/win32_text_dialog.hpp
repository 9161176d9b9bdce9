// The TextDialog port on Windows: a real modal dialog with a name field, spoken as it is typed.
#pragma once

#include <windows.h>

#include <string>

#include "ports/platform.hpp"

namespace veldrisa {

class Win32TextDialog : public TextDialog {
public:
    Win32TextDialog(HWND owner, SpeechEngine& speech) : owner_(owner), speech_(speech) {}

    // Enter or OK confirms, Escape or Cancel gives "". The initial text starts selected, so the
    // first character typed replaces it. Every character typed or deleted is spoken; the up and
    // down arrows read the whole field; Control silences the voice.
    std::string ask(const std::string& title, const std::string& prompt, const std::string& initial) override;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK FieldProcedure(HWND field, UINT message, WPARAM w, LPARAM l);
    // What a key about to delete would remove: the selection, else one character by the caret.
    std::wstring AboutToGo(HWND field, bool forward) const;
    void SayPiece(const std::wstring& piece);

    HWND owner_;
    SpeechEngine& speech_;
    std::wstring title_, prompt_, text_;
    WNDPROC fieldDefault_ = nullptr;
    wchar_t pendingHigh_ = 0;  // the first half of a character typed as a surrogate pair
};

}  // namespace veldrisa
