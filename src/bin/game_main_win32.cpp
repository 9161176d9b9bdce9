// veldrisa.exe: the game in its Win32 window, heard through SAPI 5 and MCI.
#include <windows.h>
// objbase.h builds on windows.h.
#include <objbase.h>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/programa.hpp"
#include "app/vista.hpp"
#include "platform/recording/process.hpp"
#include "platform/win32/file_speech_engine.hpp"
#include "platform/win32/game_window.hpp"
#include "platform/shared/local_clock.hpp"
#include "platform/win32/mci_sound_player.hpp"
#include "platform/win32/message_beeper.hpp"
#include "platform/win32/sapi_speech_engine.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_folders.hpp"
#include "platform/win32/win32_text_dialog.hpp"

namespace {

using namespace veldrisa;

constexpr wchar_t Title[] = L"La fortuna de Veldrisa";

// Told on stderr and in a message box, since a player started from the desktop sees no stderr.
int Fail(const std::string& message, Beeper* beeper = nullptr) {
    std::cerr << message << "\n";
    if (beeper) beeper->beep();
    MessageBoxW(nullptr, WideFromUtf8(message).c_str(), Title, MB_OK | MB_ICONERROR);
    return 1;
}

// VELDRISA_VOICE_FILE names a text file that takes the voice's place (tests under Wine).
std::unique_ptr<FileSpeechEngine> FileVoice() {
    const wchar_t* path = _wgetenv(L"VELDRISA_VOICE_FILE");
    if (!path || !*path) return nullptr;
    return std::make_unique<FileSpeechEngine>(Utf8FromWide(path));
}

int Run() {
    StartWarnings();
    MessageBeeper beeper;
    std::string error;
    auto window = Win32GameWindow::Open(error);
    if (!window) return Fail("No se pudo abrir la ventana del juego: " + error, &beeper);

    Win32Folders folders;
    const std::string folder = folders.programFolder();
    if (folder.empty()) Warn("no se conoce la carpeta del programa; las salas quedarán en silencio.");
    // The glass breaks once; fire, pages and snoring go on until the game stops them.
    MciSoundPlayer fire(folder, MciSoundPlayer::Playback::Loop);
    MciSoundPlayer glass(folder, MciSoundPlayer::Playback::Once);
    MciSoundPlayer pages(folder, MciSoundPlayer::Playback::Loop);
    MciSoundPlayer snoring(folder, MciSoundPlayer::Playback::Loop);

    SapiVoiceCatalog catalog;
    SapiSpeechEngine sapi(MakeSystemVoice, catalog);
    sapi.setWaitPump([&window] { return window->Pump(); });
    auto fileVoice = FileVoice();
    if (fileVoice && !fileVoice->open())
        return Fail("No se pudo crear el archivo de la voz de prueba", &beeper);
    SpeechEngine& speech = fileVoice ? static_cast<SpeechEngine&>(*fileVoice) : sapi;

    Win32TextDialog dialog(window->handle(), speech);
    LocalClock clock;
    Platform platform{speech, {&fire, &glass, &pages, &snoring}, beeper, dialog, clock, folders, nullptr};
    Programa programa(platform);
    if (!programa.Inicia()) return Fail("No hay voces instaladas", &beeper);
    Muestra(programa, *window);
    while (!programa.Terminado()) {
        auto key = window->NextKey([&beeper] { beeper.beep(); });
        if (!key) {
            programa.Cierra();
            break;
        }
        programa.Tecla(key->code, key->mask);
        Muestra(programa, *window);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // SAPI and MCI are asked from this thread alone, the window's.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return Fail("No se pudo iniciar COM");
    const int status = Run();
    CoUninitialize();
    return status;
}
