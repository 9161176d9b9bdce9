// Wiring the SDL adapters into one platform.
#include "platform/sdl/sdl_platform.hpp"

#include <SDL2/SDL.h>

#include <iostream>

#include "platform/sdl/audio_output.hpp"
#include "platform/sdl/espeak_speech_engine.hpp"
#include "platform/sdl/game_window.hpp"
#include "platform/sdl/mixer_beeper.hpp"
#include "platform/sdl/mixer_sound_player.hpp"
#include "platform/sdl/pulse_voice.hpp"
#include "platform/sdl/sdl_folders.hpp"
#include "platform/shared/file_speech_engine.hpp"
#include "platform/shared/local_clock.hpp"

namespace veldrisa {
namespace {

constexpr const char* NoDisplay = "No se pudo iniciar la pantalla (¿hay una sesión gráfica?): ";

void ShowError(const std::string& message, const std::string& detail = "") {
    std::cerr << message << (detail.empty() ? "" : " (" + detail + ")") << "\n";
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "La fortuna de Veldrisa", message.c_str(), nullptr);
}

// SDL's video for the life of the platform.
struct SdlVideo {
    SdlVideo() = default;
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    ~SdlVideo() {
        if (started) SDL_Quit();
    }
    bool started = false;
};

class SdlPlatform : public LocalPlatform {
public:
    SdlPlatform(std::unique_ptr<SdlVideo> video, std::unique_ptr<GameWindow> window,
                std::unique_ptr<AudioOutput> audio, std::unique_ptr<PulseVoice> voiceServer,
                std::unique_ptr<FileSpeechEngine> fileVoice)
        : video_(std::move(video)),
          window_(std::move(window)),
          audio_(std::move(audio)),
          voiceServer_(std::move(voiceServer)),
          fileVoice_(std::move(fileVoice)) {}

    Platform& ports() override { return ports_; }
    Window& window() override { return *window_; }
    void setWaitPump(std::function<bool()> pump) override { speech_.setWaitPump(std::move(pump)); }
    void cannotStart(const std::string& message) override {
        // Heard at once, while the box waits for a key; the tones are let finish.
        beeper_.sayNoVoice();
        ShowError(message);
        beeper_.waitUntilQuiet();
    }

private:
    // Destroyed last: SDL must outlive every adapter.
    std::unique_ptr<SdlVideo> video_;
    std::unique_ptr<GameWindow> window_;
    std::unique_ptr<AudioOutput> audio_;
    std::unique_ptr<PulseVoice> voiceServer_;  // handed to the engine
    EspeakSpeechEngine speech_{*audio_, std::move(voiceServer_)};
    std::unique_ptr<FileSpeechEngine> fileVoice_;
    SdlFolders folders_;
    std::string soundFolder_ = folders_.programFolder();
    // The glass breaks once; fire, pages and snoring go on until the game stops them.
    MixerSoundPlayer fire_{*audio_, 1, MixerSoundPlayer::Playback::Loop, soundFolder_};
    MixerSoundPlayer glass_{*audio_, 2, MixerSoundPlayer::Playback::Once, soundFolder_};
    MixerSoundPlayer pages_{*audio_, 3, MixerSoundPlayer::Playback::Loop, soundFolder_};
    MixerSoundPlayer snoring_{*audio_, 4, MixerSoundPlayer::Playback::Loop, soundFolder_};
    MixerBeeper beeper_{*audio_};
    LocalClock clock_;
    Platform ports_{fileVoice_ ? static_cast<SpeechEngine&>(*fileVoice_) : speech_,
                    {&fire_, &glass_, &pages_, &snoring_},
                    beeper_,
                    clock_,
                    folders_,
                    nullptr};
};

// With no display SDL still starts, on a driver whose window nobody can see or type into, and the
// game would wait for keys that can never come. Only a test asks for one by name.
bool Displayless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return !SDL_getenv("SDL_VIDEODRIVER") && driver &&
           (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
}

}  // namespace

std::unique_ptr<LocalPlatform> MakeSdlPlatform(int& status) {
    status = 1;
    auto video = std::make_unique<SdlVideo>();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cerr << NoDisplay << SDL_GetError() << "\n";
        return nullptr;
    }
    video->started = true;
    if (Displayless()) {
        std::cerr << NoDisplay << "no se encontró ninguna pantalla\n";
        return nullptr;
    }
    std::string error;
    auto window = GameWindow::Open(error);
    if (!window) {
        std::cerr << "No se pudo abrir la ventana del juego: " << error << "\n";
        return nullptr;
    }
    auto voiceServer = VoiceServerFor(SDL_getenv("SDL_AUDIODRIVER"), SDL_getenv("VELDRISA_VOICE_OUTPUT"));
    auto audio = std::make_unique<AudioOutput>(voiceServer != nullptr);
    // A game played by ear cannot be played without sound.
    if (!audio->open()) {
        ShowError("No hay salida de sonido", audio->error());
        return nullptr;
    }
    // VELDRISA_VOICE_FILE names a text file that takes the voice's place (the window tests).
    std::unique_ptr<FileSpeechEngine> fileVoice;
    if (const char* path = SDL_getenv("VELDRISA_VOICE_FILE"); path && *path) {
        fileVoice = std::make_unique<FileSpeechEngine>(path);
        if (!fileVoice->open()) {
            ShowError("No se pudo crear el archivo de la voz de prueba", path);
            return nullptr;
        }
    }
    status = 0;
    return std::make_unique<SdlPlatform>(std::move(video), std::move(window), std::move(audio),
                                         std::move(voiceServer), std::move(fileVoice));
}

}  // namespace veldrisa
