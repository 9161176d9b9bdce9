// veldrisa: the game in its window, heard through espeak-ng and SDL2_mixer.
#include <SDL2/SDL.h>

#include <iostream>

#include "app/programa.hpp"
#include "app/vista.hpp"
#include "platform/sdl/audio_output.hpp"
#include "platform/sdl/espeak_speech_engine.hpp"
#include "platform/sdl/game_window.hpp"
#include "platform/shared/local_clock.hpp"
#include "platform/sdl/mixer_beeper.hpp"
#include "platform/sdl/mixer_sound_player.hpp"
#include "platform/sdl/sdl_folders.hpp"
#include "platform/sdl/sdl_text_dialog.hpp"

namespace {

using namespace veldrisa;

// A game played by ear cannot start without its voice or its sound: the player is told on
// standard error and in a message box, and the program ends with status 1.
int CannotStart(const std::string& message, const std::string& detail = "") {
    std::cerr << message << (detail.empty() ? "" : " (" + detail + ")") << "\n";
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "La fortuna de Veldrisa", message.c_str(), nullptr);
    return 1;
}

int Run() {
    std::string error;
    auto window = GameWindow::Open(error);
    if (!window) {
        std::cerr << "No se pudo abrir la ventana del juego: " << error << "\n";
        return 1;
    }
    AudioOutput audio;
    if (!audio.open()) return CannotStart("No hay salida de sonido", audio.error());
    EspeakSpeechEngine speech(audio);
    SdlFolders folders;
    const std::string soundFolder = folders.programFolder();
    // The glass breaks once; fire, pages and snoring go on until the game stops them.
    MixerSoundPlayer fire(audio, 1, MixerSoundPlayer::Playback::Loop, soundFolder);
    MixerSoundPlayer glass(audio, 2, MixerSoundPlayer::Playback::Once, soundFolder);
    MixerSoundPlayer pages(audio, 3, MixerSoundPlayer::Playback::Loop, soundFolder);
    MixerSoundPlayer snoring(audio, 4, MixerSoundPlayer::Playback::Loop, soundFolder);
    MixerBeeper beeper(audio);
    SdlTextDialog dialog(*window, speech);
    LocalClock clock;
    Platform platform{speech, {&fire, &glass, &pages, &snoring}, beeper, dialog, clock, folders, nullptr};
    speech.setWaitPump([&window] { return window->Pump(); });
    window->OnKeysDropped([&beeper] { beeper.beep(); });

    Programa programa(platform);
    if (!programa.Inicia()) {
        // Heard at once, while the box waits for a key; the tones are let finish.
        beeper.sayNoVoice();
        int status = CannotStart("No hay voces instaladas");
        beeper.waitUntilQuiet();
        return status;
    }
    Muestra(programa, *window);
    while (!programa.Terminado()) {
        auto key = window->NextKey();
        if (!key) {
            programa.Cierra();
            break;
        }
        programa.Tecla(key->code, key->mask);
        // Behind a burst of keys only the screen after the last of them is worth drawing.
        if (!window->KeysQueued()) Muestra(programa, *window);
    }
    return 0;
}

}  // namespace

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cerr << "No se pudo iniciar la pantalla (¿hay una sesión gráfica?): " << SDL_GetError() << "\n";
        return 1;
    }
    // With no display SDL still starts, on a driver whose window nobody can see or type into,
    // and the game would wait for keys that can never come. Only a test asks for one by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!SDL_getenv("SDL_VIDEODRIVER") && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        std::cerr
            << "No se pudo iniciar la pantalla (¿hay una sesión gráfica?): no se encontró ninguna pantalla\n";
        SDL_Quit();
        return 1;
    }
    int status = Run();
    SDL_Quit();
    return status;
}
