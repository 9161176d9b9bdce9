// Wiring the Windows adapters into one platform.
#include "platform/win32/win32_platform.hpp"

#include <cstdlib>
#include <iostream>

#include "platform/shared/file_speech_engine.hpp"
#include "platform/shared/local_clock.hpp"
#include "platform/win32/game_window.hpp"
#include "platform/win32/mci_sound_player.hpp"
#include "platform/win32/message_beeper.hpp"
#include "platform/win32/sapi_speech_engine.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_folders.hpp"

namespace veldrisa {
namespace {

constexpr wchar_t Title[] = L"La fortuna de Veldrisa";

// Told on stderr and in a message box, since a player started from the desktop sees no stderr.
void Tell(const std::string& message, Beeper& beeper) {
    std::cerr << message << "\n";
    beeper.beep();
    MessageBoxW(nullptr, WideFromUtf8(message).c_str(), Title, MB_OK | MB_ICONERROR);
}

class Win32Platform : public LocalPlatform {
public:
    Win32Platform(std::unique_ptr<Win32GameWindow> window, std::unique_ptr<FileSpeechEngine> fileVoice)
        : window_(std::move(window)), fileVoice_(std::move(fileVoice)) {
        if (folder_.empty()) Warn("no se conoce la carpeta del programa; las salas quedarán en silencio.");
    }

    Platform& ports() override { return ports_; }
    Window& window() override { return *window_; }
    void setWaitPump(std::function<bool()> pump) override { sapi_.setWaitPump(std::move(pump)); }
    void cannotStart(const std::string& message) override { Tell(message, beeper_); }

private:
    std::unique_ptr<Win32GameWindow> window_;
    MessageBeeper beeper_;
    Win32Folders folders_;
    std::string folder_ = folders_.programFolder();
    // The glass breaks once; fire, pages and snoring go on until the game stops them.
    MciSoundPlayer fire_{folder_, MciSoundPlayer::Playback::Loop};
    MciSoundPlayer glass_{folder_, MciSoundPlayer::Playback::Once};
    MciSoundPlayer pages_{folder_, MciSoundPlayer::Playback::Loop};
    MciSoundPlayer snoring_{folder_, MciSoundPlayer::Playback::Loop};
    SapiVoiceCatalog catalog_;
    SapiSpeechEngine sapi_{MakeSystemVoice, catalog_};
    std::unique_ptr<FileSpeechEngine> fileVoice_;
    LocalClock clock_;
    Platform ports_{fileVoice_ ? static_cast<SpeechEngine&>(*fileVoice_) : sapi_,
                    {&fire_, &glass_, &pages_, &snoring_},
                    beeper_,
                    clock_,
                    folders_,
                    nullptr};
};

}  // namespace

std::unique_ptr<LocalPlatform> MakeWin32Platform() {
    StartWarnings();
    MessageBeeper beeper;
    std::string error;
    auto window = Win32GameWindow::Open(error);
    if (!window) {
        Tell("No se pudo abrir la ventana del juego: " + error, beeper);
        return nullptr;
    }
    // VELDRISA_VOICE_FILE names a text file that takes the voice's place (tests under Wine).
    std::unique_ptr<FileSpeechEngine> fileVoice;
    if (const wchar_t* path = _wgetenv(L"VELDRISA_VOICE_FILE"); path && *path) {
        fileVoice = std::make_unique<FileSpeechEngine>(Utf8FromWide(path));
        if (!fileVoice->open()) {
            Tell("No se pudo crear el archivo de la voz de prueba", beeper);
            return nullptr;
        }
    }
    return std::make_unique<Win32Platform>(std::move(window), std::move(fileVoice));
}

}  // namespace veldrisa
