// The SoundPlayer port for one room: a sound file on Windows' own MCI media player.
#pragma once

#include <windows.h>
// mmsystem.h builds on windows.h, digitalv.h on both.
#include <mmsystem.h>
#include <digitalv.h>

#include <filesystem>
#include <string>

#include "ports/platform.hpp"

namespace veldrisa {

// Each player has its own hidden window for MCI's notices: Wine's mpegvideo device reports
// the device as 0 in them, so the window is what tells the players apart.
class MciSoundPlayer : public SoundPlayer {
public:
    enum class Playback { Once, Loop };

    // programFolder: where the sounds must be; empty when unknown, and then every room is silent.
    MciSoundPlayer(std::string programFolder, Playback playback);
    ~MciSoundPlayer() override;
    MciSoundPlayer(const MciSoundPlayer&) = delete;
    MciSoundPlayer& operator=(const MciSoundPlayer&) = delete;

    // A file that cannot be played is named once on stderr and leaves the room silent.
    void setFileName(const std::string& name) override;
    // Starts the sound from its beginning, even when it is already playing.
    void play() override;
    void stop() override;
    // Through the device's audio volume (0..1000), kept for the files given after it.
    void setVolume(int percent) override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void Close();
    bool Play();

    std::string folder_;
    Playback playback_;
    HWND notices_ = nullptr;
    MCIDEVICEID device_ = 0;
    bool playing_ = false;
    int volume_ = DefaultVolume;
};

// Opens a sound file in MCI's MPEG player, which plays WAV files too, waiting for its answer;
// on success `device` is the new device.
MCIERROR OpenSound(const std::filesystem::path& file, MCIDEVICEID& device);

}  // namespace veldrisa
