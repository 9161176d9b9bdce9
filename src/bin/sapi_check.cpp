// sapi-check.exe: for a tester on a real Windows machine, what SAPI 5 and MCI do with the game's
// calls: the voices registered for 64-bit and for 32-bit programs, one Spanish sentence with each
// voice this build can load (the game's flags, three rates, one cut off by the next), each room
// sound for two seconds at 100 %, 40 % and 10 %, and a verdict. Every call and its result go to
// sapi-check.txt in the user's documents (or local application data), and to the console.
#include <windows.h>
// These build on windows.h.
#include <knownfolders.h>
#include <mmsystem.h>
#include <objbase.h>
#include <sapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
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
#include "platform/win32/warnings.hpp"
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
constexpr int Levels[] = {100, 40, 10};
constexpr wchar_t VoiceTokens[] = L"SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

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
        if (FAILED(result)) ++failedCalls_;
        return result;
    }
    int failedCalls() const { return failedCalls_; }
    // What went wrong, in a few words for the verdict.
    void Failed(const std::string& what) { failures_.push_back(what); }
    void Verdict() {
        Line("");
        if (failures_.empty()) return Line("Todo bien");
        Line("Falló:");
        for (const auto& failure : failures_) Line("- " + failure);
    }
    bool open() const { return file_.is_open(); }

private:
    std::ofstream file_;
    std::vector<std::string> failures_;
    int failedCalls_ = 0;
};

// The user's documents, where a tester finds it; the local application data when they cannot be
// written (the program's own folder is read-only under Program Files).
std::filesystem::path ReportFile() {
    for (const KNOWNFOLDERID& id : {FOLDERID_Documents, FOLDERID_LocalAppData}) {
        PWSTR known = nullptr;
        std::filesystem::path folder;
        if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &known))) folder = known;
        CoTaskMemFree(known);
        if (folder.empty()) continue;
        if (id == FOLDERID_LocalAppData) folder /= L"Veldrisa";
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        const auto file = folder / L"sapi-check.txt";
        if (std::ofstream(file, std::ios::binary | std::ios::app)) return file;
    }
    return {};
}

// A console opened for the program closes with it: the tester must have read the verdict first.
void WaitForAKey() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode)) return;  // started by a script, not from a console
    std::cout << "Pulse una tecla para cerrar." << std::endl;
    FlushConsoleInputBuffer(input);
    INPUT_RECORD record;
    DWORD read = 0;
    while (ReadConsoleInputW(input, &record, 1, &read))
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
}

// Spanish is primary language 0x0A of a Windows language code, whatever the country.
bool Spanish(const std::wstring& languages) {
    std::wistringstream codes(languages);
    std::wstring code;
    while (std::getline(codes, code, L';'))
        if ((std::wcstoul(code.c_str(), nullptr, 16) & 0x3FF) == 0x0A) return true;
    return false;
}

struct RegisteredVoice {
    std::string description;
    bool spanish = false;
};

// The voices' registry key as programs of one width see it (KEY_WOW64_64KEY or KEY_WOW64_32KEY).
std::vector<RegisteredVoice> RegisteredVoices(REGSAM view) {
    std::vector<RegisteredVoice> voices;
    HKEY tokens = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, VoiceTokens, 0, KEY_READ | view, &tokens) != ERROR_SUCCESS)
        return voices;
    wchar_t name[256];
    for (DWORD i = 0, length = 256;
         RegEnumKeyExW(tokens, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256) {
        wchar_t text[512] = L"";
        DWORD bytes = sizeof text;
        RegGetValueW(tokens, name, nullptr, RRF_RT_REG_SZ, nullptr, text, &bytes);
        wchar_t language[128] = L"";
        bytes = sizeof language;
        RegGetValueW(tokens, (std::wstring(name) + L"\\Attributes").c_str(), L"Language", RRF_RT_REG_SZ,
                     nullptr, language, &bytes);
        voices.push_back({Utf8FromWide(*text ? text : name), Spanish(language)});
    }
    RegCloseKey(tokens);
    return voices;
}

// Many Spanish voices are 32-bit only, and a 64-bit program cannot load them at all.
void ListRegisteredVoices(Log& log) {
    const auto wide = RegisteredVoices(KEY_WOW64_64KEY);
    const auto narrow = RegisteredVoices(KEY_WOW64_32KEY);
    const auto listed = [](const std::vector<RegisteredVoice>& voices, const std::string& description) {
        for (const auto& v : voices)
            if (v.description == description) return true;
        return false;
    };
    log.Line("Voces registradas para programas de 64 bits (veldrisa.exe): " + std::to_string(wide.size()));
    for (const auto& v : wide) log.Line("  " + v.description + (v.spanish ? " (español)" : ""));
    log.Line("Voces registradas para programas de 32 bits (veldrisa-32.exe): " +
             std::to_string(narrow.size()));
    for (const auto& v : narrow)
        log.Line("  " + v.description + (v.spanish ? " (español)" : "") +
                 (listed(wide, v.description) ? "" : " (voz de 32 bits: solo la oye veldrisa-32.exe)"));
    bool spanish = false;
    for (const auto& v : wide) spanish = spanish || v.spanish;
    for (const auto& v : narrow) spanish = spanish || v.spanish;
    if (!spanish) log.Failed("no hay ninguna voz SAPI 5 en español");
    const std::size_t more = std::max(wide.size(), narrow.size());
    if (more > 0)
        log.Line(std::string("Empiece con ") +
                 (narrow.size() > wide.size() ? "veldrisa-32.exe" : "veldrisa.exe") +
                 ", que oye más voces (" + std::to_string(more) + ").");
}

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

void CheckVoiceCalls(Log& log, ISpObjectToken* token) {
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

void CheckVoice(Log& log, ISpObjectToken* token, const std::string& description) {
    log.Line("");
    log.Line("Voz: " + description);
    const int failedBefore = log.failedCalls();
    CheckVoiceCalls(log, token);
    if (log.failedCalls() > failedBefore)
        log.Failed("la voz " + description + " no respondió a todo (vea arriba)");
}

void CheckVoices(Log& log) {
    ComPtr<ISpObjectTokenCategory> category;
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(log.Call(
            "CoCreateInstance(SpObjectTokenCategory)",
            CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&category)))) ||
        FAILED(log.Call("SetId(SPCAT_VOICES)", category->SetId(SPCAT_VOICES, FALSE))) ||
        FAILED(log.Call("EnumTokens", category->EnumTokens(nullptr, nullptr, &tokens)))) {
        log.Failed("SAPI no pudo listar sus voces");
        return;
    }
    ULONG count = 0;
    log.Call("GetCount", tokens->GetCount(&count));
    log.Line("Voces SAPI 5 que este programa puede usar (" + std::to_string(sizeof(void*) * 8) +
             " bits): " + std::to_string(count));
    if (count == 0) log.Failed("ninguna voz SAPI 5 que este programa pueda usar");
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
        log.Failed("el sonido " + name + ": " + problem);
        return;
    }
    MCIDEVICEID device = 0;
    const MCIERROR opened = OpenSound(*file, device);
    log.Line("  MCI_OPEN mpegvideo -> " + std::to_string(opened) + (opened ? " (FALLO)" : " (bien)"));
    if (opened) {
        // Windows N editions come without the MP3 decoder MCI uses.
        log.Failed("el sonido " + name + " no se pudo abrir (en Windows N falta el Media Feature Pack)");
        return;
    }
    for (int percent : Levels) {
        MCI_DGV_SETAUDIO_PARMSW level{};
        level.dwItem = MCI_DGV_SETAUDIO_VOLUME;
        level.dwValue = MciVolume(percent);
        mciSendCommandW(device, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&level));
        MCI_PLAY_PARMS play{};
        const MCIERROR played =
            mciSendCommandW(device, MCI_PLAY, MCI_FROM, reinterpret_cast<DWORD_PTR>(&play));
        log.Line("  al " + std::to_string(percent) + " % (volumen MCI " + std::to_string(level.dwValue) +
                 "): MCI_PLAY -> " + std::to_string(played) +
                 (played ? " (FALLO)" : " (bien), dos segundos"));
        if (played) log.Failed("el sonido " + name + " no se pudo tocar");
        PumpFor(2000);
        mciSendCommandW(device, MCI_STOP, MCI_WAIT, 0);
    }
    log.Line("  MCI_CLOSE -> " + std::to_string(mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, 0)));
}

}  // namespace

int wmain() {
    SetConsoleOutputCP(CP_UTF8);
    const std::filesystem::path folder = ExecutableFile().parent_path();
    const std::filesystem::path report = ReportFile();
    Log log(report);
    log.Line("Comprobación de SAPI 5 y de los sonidos de La fortuna de Veldrisa");
    log.Line(log.open() ? "El informe se escribe en " + Utf8FromWide(report.wstring())
                        : "No se pudo escribir sapi-check.txt; el informe sale solo por pantalla.");
    if (FAILED(log.Call("CoInitializeEx(COINIT_APARTMENTTHREADED)",
                        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))))
        return 1;
    ListRegisteredVoices(log);
    CheckVoices(log);
    for (const char* sound : Sounds) CheckSound(log, Utf8FromPath(folder), sound);
    log.Line("");
    log.Line("Avisos del juego: " + Utf8FromWide(WarningsFile().wstring()));
    log.Verdict();
    CoUninitialize();
    WaitForAKey();
    return 0;
}
