// The SpeechEngine port on SAPI 5: the installed voices through ISpVoice.
#pragma once

#include <windows.h>
// sapi.h builds on windows.h.
#include <sapi.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/speech_engine.hpp"

namespace veldrisa {

// The installed voices in enumeration order; a fake one stands in for it in the tests.
class VoiceCatalog {
public:
    virtual ~VoiceCatalog() = default;
    virtual std::vector<std::string> descriptions() = 0;
    // The token of the voice at this position, owned by the catalog.
    virtual ISpObjectToken* token(int position) = 0;
};

// The voices registered in SAPI's voices category, listed once.
class SapiVoiceCatalog : public VoiceCatalog {
public:
    SapiVoiceCatalog();
    std::vector<std::string> descriptions() override { return descriptions_; }
    ISpObjectToken* token(int position) override;

private:
    std::vector<Microsoft::WRL::ComPtr<ISpObjectToken>> tokens_;
    std::vector<std::string> descriptions_;
};

// Speaks on one ISpVoice, made anew by createVoice(); every call runs on the window's thread,
// which has initialised COM. A voice that refuses the calls the game needs (Wine's own SpVoice
// answers "not implemented") counts as no voice at all, so the player is told at start.
class SapiSpeechEngine : public SpeechEngine {
public:
    using VoiceFactory = std::function<HRESULT(ISpVoice**)>;

    // Asynchronous, cutting off what is queued, punctuation read aloud, never read as markup:
    // a name typed as "<pitch" is spoken as typed.
    static constexpr DWORD SpeakFlags =
        SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML | SPF_NLP_SPEAK_PUNC;
    // How long one wait for the voice lasts before the window is looked after again.
    static constexpr ULONG WaitSliceMs = 15;
    static constexpr char RefusedVoiceNotice[] = "esa voz no responde; sigue la voz anterior.";

    SapiSpeechEngine(VoiceFactory makeVoice, VoiceCatalog& catalog);

    // False when the voice cannot be made or does not answer, or no voice is registered.
    bool available() override;
    void createVoice() override;
    // Empty when the voice cannot be made or does not answer.
    std::vector<std::string> voiceDescriptions() override;
    // A voice that refuses SetVoice, or the first Speak after it, gives way to the voice before
    // it, and the player hears RefusedVoiceNotice in that voice instead of silence.
    void selectVoice(int position) override;
    int rate() const override { return rate_; }
    void setRate(int rate) override;
    void speak(std::string text) override;
    void stop() override;
    // Returns once the voice has finished, the window staying alive meanwhile.
    void waitUntilDone() override;

    // Called between slices of a wait; returning false gives the wait up (the program is closing).
    void setWaitPump(std::function<bool()> pump) { pump_ = std::move(pump); }

    // The game's scale (0 normal, -54..+54 at its ends) and SAPI's -10..+10, both ways.
    static long SapiRate(int rate);
    static int GameRate(long sapiRate);

private:
    // Names a failed call in a warning (Warn), which tells each failure once.
    bool Check(HRESULT result, const char* call);
    // Back to the last voice heard (the system's default before any choice), to say the notice.
    void BackToLastVoice();

    // Positions in the catalog: the voice last heard, and one chosen but not heard yet.
    static constexpr int DefaultVoice = -1;
    int heard_ = DefaultVoice;
    std::optional<int> chosen_;
    bool refused_ = false;

    VoiceFactory makeVoice_;
    VoiceCatalog& catalog_;
    Microsoft::WRL::ComPtr<ISpVoice> voice_;
    bool usable_ = false;
    int rate_ = 0;
    std::function<bool()> pump_;
};

// The system's own SpVoice.
HRESULT MakeSystemVoice(ISpVoice** voice);

}  // namespace veldrisa
