// SAPI 5 voices: the token category listed once, one ISpVoice spoken asynchronously.
#include "platform/win32/sapi_speech_engine.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "platform/shared/spoken_punctuation.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

constexpr int GameScaleEnd = 54;
constexpr long SapiScaleEnd = 10;

}  // namespace

SapiVoiceCatalog::SapiVoiceCatalog() {
    Microsoft::WRL::ComPtr<ISpObjectTokenCategory> category;
    Microsoft::WRL::ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&category))) ||
        FAILED(category->SetId(SPCAT_VOICES, FALSE)) ||
        FAILED(category->EnumTokens(nullptr, nullptr, &tokens)))
        return;
    Microsoft::WRL::ComPtr<ISpObjectToken> token;
    while (tokens->Next(1, &token, nullptr) == S_OK) {
        // A voice's description is its token's default value.
        LPWSTR description = nullptr;
        std::string text;
        if (SUCCEEDED(token->GetStringValue(nullptr, &description)) && description) {
            text = Utf8FromWide(description);
            CoTaskMemFree(description);
        }
        tokens_.push_back(token);
        descriptions_.push_back(text);
        token.Reset();
    }
}

ISpObjectToken* SapiVoiceCatalog::token(int position) {
    if (position < 0 || position >= static_cast<int>(tokens_.size())) return nullptr;
    return tokens_[static_cast<std::size_t>(position)].Get();
}

HRESULT MakeSystemVoice(ISpVoice** voice) {
    return CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                            reinterpret_cast<void**>(voice));
}

SapiSpeechEngine::SapiSpeechEngine(VoiceFactory makeVoice, VoiceCatalog& catalog)
    : makeVoice_(std::move(makeVoice)), catalog_(catalog) {}

long SapiSpeechEngine::SapiRate(int rate) {
    const double scaled = static_cast<double>(rate) * SapiScaleEnd / GameScaleEnd;
    return std::clamp(std::lround(scaled), -SapiScaleEnd, SapiScaleEnd);
}

int SapiSpeechEngine::GameRate(long sapiRate) {
    const long clamped = std::clamp(sapiRate, -SapiScaleEnd, SapiScaleEnd);
    return static_cast<int>(std::lround(static_cast<double>(clamped) * GameScaleEnd / SapiScaleEnd));
}

bool SapiSpeechEngine::Check(HRESULT result, const char* call) {
    if (SUCCEEDED(result)) return true;
    std::ostringstream text;
    text << "la voz SAPI no respondió a " << call << " (error 0x" << std::hex
         << static_cast<unsigned long>(result) << ").";
    Warn(text.str());
    return false;
}

void SapiSpeechEngine::createVoice() {
    voice_.Reset();
    usable_ = false;
    rate_ = 0;
    heard_ = DefaultVoice;
    chosen_.reset();
    refused_ = false;
    if (!Check(makeVoice_(voice_.ReleaseAndGetAddressOf()), "CoCreateInstance(SpVoice)") || !voice_) return;
    // A fresh voice speaks at the rate the player chose in the system's speech settings. A voice
    // must also take an empty message and a wait, which cost nothing, to be worth playing with.
    long sapiRate = 0;
    if (!Check(voice_->GetRate(&sapiRate), "GetRate") ||
        !Check(voice_->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr), "Speak") ||
        !Check(voice_->WaitUntilDone(0), "WaitUntilDone"))
        return;
    rate_ = GameRate(sapiRate);
    usable_ = true;
}

bool SapiSpeechEngine::available() {
    const auto descriptions = voiceDescriptions();
    return std::any_of(descriptions.begin(), descriptions.end(),
                       [](const std::string& d) { return !d.empty(); });
}

std::vector<std::string> SapiSpeechEngine::voiceDescriptions() {
    // The game asks for the list before it makes its first voice; only a voice tells whether SAPI works.
    if (!voice_) createVoice();
    if (!usable_) return {};
    return catalog_.descriptions();
}

void SapiSpeechEngine::selectVoice(int position) {
    if (!voice_) return;
    ISpObjectToken* token = catalog_.token(position);
    if (!token) return;
    if (Check(voice_->SetVoice(token), "SetVoice")) {
        chosen_ = position;
        return;
    }
    BackToLastVoice();
    refused_ = true;
}

void SapiSpeechEngine::BackToLastVoice() {
    chosen_.reset();
    // No token is the system's default voice, the one a new SpVoice speaks with.
    Check(voice_->SetVoice(heard_ == DefaultVoice ? nullptr : catalog_.token(heard_)), "SetVoice");
}

void SapiSpeechEngine::setRate(int rate) {
    rate_ = rate;
    if (voice_) Check(voice_->SetRate(SapiRate(rate)), "SetRate");
}

void SapiSpeechEngine::speak(std::string text) {
    if (!voice_) return;
    // The game says the new voice's name after choosing it; a refused voice says why instead.
    if (std::exchange(refused_, false)) text = RefusedVoiceNotice;
    // Voices differ in which marks they read, and in which language: the game names them itself.
    const std::wstring wide = WideFromUtf8(SpanishMarks(text));
    if (Check(voice_->Speak(wide.c_str(), SpeakFlags, nullptr), "Speak")) {
        if (chosen_) heard_ = *std::exchange(chosen_, std::nullopt);
        return;
    }
    // A 32-bit voice in a 64-bit game, among others, takes SetVoice and fails here.
    if (!chosen_) return;
    BackToLastVoice();
    const std::wstring notice = WideFromUtf8(RefusedVoiceNotice);
    Check(voice_->Speak(notice.c_str(), SpeakFlags, nullptr), "Speak");
}

void SapiSpeechEngine::stop() {
    // SAPI has no call of its own for silence: an empty text purging the queue is it.
    if (voice_) Check(voice_->Speak(L"", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr), "Speak");
}

void SapiSpeechEngine::waitUntilDone() {
    if (!voice_) return;
    for (;;) {
        const HRESULT result = voice_->WaitUntilDone(WaitSliceMs);
        if (result != S_FALSE) {
            Check(result, "WaitUntilDone");
            return;
        }
        if (pump_ && !pump_()) {
            // The window is closing: nothing more is worth hearing.
            stop();
            return;
        }
    }
}

}  // namespace veldrisa
