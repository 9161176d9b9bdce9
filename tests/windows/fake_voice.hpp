// A voice object of our own behind SAPI's ISpVoice interface: it speaks nothing and writes down
// every call, so that the adapter's use of SAPI can be checked where no real voice speaks.
#pragma once

#include <windows.h>
// sapi.h builds on windows.h.
#include <sapi.h>

#include <deque>
#include <string>
#include <vector>

namespace veldrisa::testing {

class FakeVoice : public ISpVoice {
public:
    struct Call {
        std::string name;
        std::wstring text;
        DWORD flags = 0;
        long value = 0;
        const void* token = nullptr;
    };
    std::vector<Call> calls;
    long rate = 0;
    HRESULT rateResult = S_OK, speakResult = S_OK, waitResult = S_OK;
    // The token set last (none: the default voice), one SetVoice refuses, one that cannot speak.
    const void* current = nullptr;
    const void* refuses = nullptr;
    const void* mute = nullptr;
    // What the waits answer before waitResult: S_FALSE is "still speaking".
    std::deque<HRESULT> waits;

    std::vector<Call> Named(const std::string& name) const {
        std::vector<Call> found;
        for (const auto& c : calls)
            if (c.name == name) found.push_back(c);
        return found;
    }

    // IUnknown: the test owns the object; counting keeps the adapter's releases honest.
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken* token) override {
        calls.push_back({"SetVoice", {}, 0, 0, token});
        if (token && token == refuses) return E_FAIL;
        current = token;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG*) override {
        calls.push_back({"Speak", text ? text : L"(null)", flags, 0, nullptr});
        if (current && current == mute) return REGDB_E_CLASSNOTREG;
        return speakResult;
    }
    HRESULT STDMETHODCALLTYPE SetRate(LONG value) override {
        calls.push_back({"SetRate", {}, 0, value, nullptr});
        if (SUCCEEDED(rateResult)) rate = value;
        return rateResult;
    }
    HRESULT STDMETHODCALLTYPE GetRate(LONG* value) override {
        calls.push_back({"GetRate", {}});
        *value = rate;
        return rateResult;
    }
    HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG ms) override {
        calls.push_back({"WaitUntilDone", {}, 0, static_cast<long>(ms), nullptr});
        if (waits.empty()) return waitResult;
        const HRESULT r = waits.front();
        waits.pop_front();
        return r;
    }

    // The rest of the interface, which the adapter must not need.
    HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM) override {
        return Unused();
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM, LPARAM) override {
        return Unused();
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override { return Unused(); }
    HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override { return Unused(); }
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return Unused(), nullptr; }
    HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG, ULONGLONG) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetEvents(ULONG, SPEVENT*, ULONG*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetOutput(IUnknown*, WINBOOL) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat**) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE Pause() override { return Unused(); }
    HRESULT STDMETHODCALLTYPE Resume() override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken**) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS*, LPWSTR*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetAlertBoundary(SPEVENTENUM) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetVolume(USHORT) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetVolume(USHORT*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override { return Unused(); }
    HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return Unused(), nullptr; }
    HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, WINBOOL*) override { return Unused(); }
    HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override { return Unused(); }

private:
    HRESULT Unused() {
        calls.push_back({"unexpected", {}});
        return E_NOTIMPL;
    }
};

}  // namespace veldrisa::testing
