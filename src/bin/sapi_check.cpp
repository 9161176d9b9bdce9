// sapi-check.exe: for a tester on a real Windows machine, what SAPI 5 and MCI do with the game's
// calls: the voices and their descriptions, one Spanish sentence with each (the game's flags,
// three rates, one cut off by the next), each room sound for two seconds. Every call and its
// result go to sapi-check.txt beside the program, and to standard output.
#include <windows.h>
// These build on windows.h.
#include <mmsystem.h>
#include <objbase.h>
#include <sapi.h>
#include <wrl/client.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/recording/process.hpp"
#include "platform/win32/mci_sound_player.hpp"
#include "platform/win32/sapi_speech_engine.hpp"
#include "platform/win32/sound_file.hpp"
#include "platform/win32/wide_text.hpp"

namespace {

using Microsoft::WRL::ComPtr;
using namespace veldrisa;

constexpr wchar_t Sentence[] =
    L"La fortuna de Veldrisa. Micifú, el gato andalú, entra en la biblioteca; ¿quién será el heredero?";
constexpr wchar_t LongSentence[] =
    L"Esta frase es larga a propósito, para que la siguiente la corte antes de que termine: uno, dos, tres, "
    L"cuatro, "
    L"cinco, seis, siete, ocho, nueve, diez.";
constexpr wchar_t CuttingSentence[] = L"Cortada. Esta es la segunda frase.";
constexpr wchar_t Markup[] = L"<pitch middle='10'>Esto debe oírse con los signos, tal cual";
constexpr const char* Sounds[] = {"fuego.wav", "Vaso rompiéndose.mp3", "Pasar páginas.mp3", "Ronquido.mp3"};

class Log {
public:
    explicit Log(const std::filesystem::path& file) : file_(file, std::ios::binary) {}
    void Line(const std::string& text) {
        std::cout << text << std::endl;
        file_ << text << "\r\n" << std::flush;
    }
    // One call and its result, in hexadecimal as Windows documents them.
    HRESULT Call(const std::string& what, HRESULT result) {
        std::ostringstream text;
        text << what << " -> 0x" << std::hex << static_cast<unsigned long>(result)
             << (SUCCEEDED(result) ? " (bien)" : " (FALLO)");
        Line(text.str());
        return result;
    }
    bool open() const { return file_.is_open(); }

private:
    std::ofstream file_;
};

long Milliseconds(std::chrono::steady_clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
            .count());
}

// Keeps the thread's messages flowing for a while (MCI and SAPI may send some).
void PumpFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
}

void SpeakAndWait(Log& log, ISpVoice* voice, const wchar_t* text, const std::string& label) {
    const auto start = std::chrono::steady_clock::now();
    std::ostringstream flags;
    flags << std::hex << SapiSpeechEngine::SpeakFlags;
    log.Call("  Speak(" + label + ", flags 0x" + flags.str() + ")",
             voice->Speak(text, SapiSpeechEngine::SpeakFlags, nullptr));
    const HRESULT waited = voice->WaitUntilDone(30000);
    log.Call("  WaitUntilDone(30000) tras " + std::to_string(Milliseconds(start)) + " ms", waited);
}

void CheckVoice(Log& log, ISpObjectToken* token, const std::string& description) {
    log.Line("");
    log.Line("Voz: " + description);
    ComPtr<ISpDataKey> attributes;
    LPWSTR language = nullptr;
    if (SUCCEEDED(token->OpenKey(L"Attributes", &attributes)) &&
        SUCCEEDED(attributes->GetStringValue(L"Language", &language))) {
        log.Line("  Idioma (LCID hexadecimal; 40a y c0a son español): " + Utf8FromWide(language));
        CoTaskMemFree(language);
    }
    ComPtr<ISpVoice> voice;
    if (FAILED(log.Call("  CoCreateInstance(SpVoice)", MakeSystemVoice(&voice)))) return;
    log.Call("  SetVoice", voice->SetVoice(token));
    long rate = 0;
    log.Call("  GetRate", voice->GetRate(&rate));
    log.Line("  velocidad inicial de SAPI: " + std::to_string(rate));
    for (int gameRate : {-27, 0, 27}) {
        const long sapiRate = SapiSpeechEngine::SapiRate(gameRate);
        log.Call("  SetRate(" + std::to_string(sapiRate) + ") para la velocidad " + std::to_string(gameRate) +
                     " del juego",
                 voice->SetRate(sapiRate));
        SpeakAndWait(log, voice.Get(), Sentence, "frase en español");
    }
    voice->SetRate(rate);
    const auto start = std::chrono::steady_clock::now();
    log.Call("  Speak(frase larga)", voice->Speak(LongSentence, SapiSpeechEngine::SpeakFlags, nullptr));
    PumpFor(1500);
    log.Call("  Speak(frase que corta la anterior) tras " + std::to_string(Milliseconds(start)) + " ms",
             voice->Speak(CuttingSentence, SapiSpeechEngine::SpeakFlags, nullptr));
    log.Call("  WaitUntilDone(30000) tras " + std::to_string(Milliseconds(start)) + " ms",
             voice->WaitUntilDone(30000));
    SpeakAndWait(log, voice.Get(), Markup, "texto con <pitch>, que debe leerse, no obedecerse");
}

void CheckVoices(Log& log) {
    ComPtr<ISpObjectTokenCategory> category;
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(log.Call(
            "CoCreateInstance(SpObjectTokenCategory)",
            CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&category)))) ||
        FAILED(log.Call("SetId(SPCAT_VOICES)", category->SetId(SPCAT_VOICES, FALSE))) ||
        FAILED(log.Call("EnumTokens", category->EnumTokens(nullptr, nullptr, &tokens))))
        return;
    ULONG count = 0;
    log.Call("GetCount", tokens->GetCount(&count));
    log.Line("Voces SAPI 5 instaladas: " + std::to_string(count));
    std::vector<std::pair<ComPtr<ISpObjectToken>, std::string>> voices;
    for (ComPtr<ISpObjectToken> token; tokens->Next(1, &token, nullptr) == S_OK; token.Reset()) {
        LPWSTR description = nullptr;
        std::string text = "(sin descripción)";
        if (SUCCEEDED(token->GetStringValue(nullptr, &description)) && description) {
            text = Utf8FromWide(description);
            CoTaskMemFree(description);
        }
        voices.emplace_back(token, text);
        log.Line(std::to_string(voices.size()) + ". " + text);
    }
    for (const auto& [token, description] : voices) CheckVoice(log, token.Get(), description);
}

void CheckSound(Log& log, const std::string& folder, const std::string& name) {
    log.Line("");
    log.Line("Sonido: " + name);
    std::string problem;
    const auto file = UsableSoundFile(folder, name, problem);
    if (!file) {
        log.Line("  no se puede usar: " + problem);
        return;
    }
    MCIDEVICEID device = 0;
    const MCIERROR opened = OpenSound(*file, device);
    log.Line("  MCI_OPEN mpegvideo -> " + std::to_string(opened) + (opened ? " (FALLO)" : " (bien)"));
    if (opened) return;
    MCI_PLAY_PARMS play{};
    const MCIERROR played = mciSendCommandW(device, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&play));
    log.Line("  MCI_PLAY -> " + std::to_string(played) + (played ? " (FALLO)" : " (bien), dos segundos"));
    PumpFor(2000);
    log.Line("  MCI_STOP -> " + std::to_string(mciSendCommandW(device, MCI_STOP, MCI_WAIT, 0)));
    log.Line("  MCI_CLOSE -> " + std::to_string(mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, 0)));
}

}  // namespace

int wmain() {
    const std::filesystem::path folder = ExecutableFile().parent_path();
    Log log(folder / L"sapi-check.txt");
    if (!log.open()) std::cerr << "No se pudo escribir sapi-check.txt; el informe sale solo por pantalla.\n";
    log.Line("Comprobación de SAPI 5 y de los sonidos de La fortuna de Veldrisa");
    if (FAILED(log.Call("CoInitializeEx(COINIT_APARTMENTTHREADED)",
                        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))))
        return 1;
    CheckVoices(log);
    for (const char* sound : Sounds) CheckSound(log, Utf8FromPath(folder), sound);
    log.Line("");
    log.Line("Fin de la comprobación.");
    CoUninitialize();
    return 0;
}
