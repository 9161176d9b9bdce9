// The SoundPlayer port for one room: a sound file on Windows' own MCI media player.
#pragma once

#include <windows.h>
// mmsystem.h builds on windows.h,
#include <mmsystem.h>
// and digitalv.h on both.
#include <digitalv.h>

#include <filesystem>
#include <string>

#include "ports/platform.hpp"

namespace veldrisa {

// A looping sound is played with MCI_DGV_PLAY_REPEAT; a device that refuses it is restarted
// when its notice says it reached the end. Each player has its own hidden window for the notices.
class MciSoundPlayer : public SoundPlayer {
public:
    enum class Playback { Once, Loop };

    // programFolder: where the sounds must be; empty when unknown, and then every room is silent.
    MciSoundPlayer(std::string programFolder, Playback playback);
    ~MciSoundPlayer() override;
    MciSoundPlayer(const MciSoundPlayer&) = delete;
    MciSoundPlayer& operator=(const MciSoundPlayer&) = delete;

    // A file that cannot be played is named by its path in a warning (Warn) and leaves the room silent.
    void setFileName(const std::string& name) override;
    // Starts the sound from its beginning, even when it is already playing.
    void play() override;
    void stop() override;
    // Through the device's audio volume (MciVolume), kept for the files given after it.
    void setVolume(int percent) override;
    // Whether loops are repeated by the device itself (until one refuses to).
    bool repeatsItself() const { return repeats_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void Close();
    bool Play();

    std::string folder_;
    Playback playback_;
    HWND notices_ = nullptr;
    MCIDEVICEID device_ = 0;
    bool playing_ = false;
    bool repeats_ = true;
    int volume_ = DefaultVolume;
};

// MCI's audio volume (0..1000, 1000 the file's own level, a factor on the samples) for a level
// in percent: each halving of the percent is 10 dB softer, a halving of the loudness heard.
DWORD MciVolume(int percent);

// Whether a notice restarts a loop: only a loop still playing, only the end of its sound, and
// only from its own device (a notice of a device closed since can arrive late).
bool LoopRestarts(bool looping, WPARAM flags, LPARAM device, MCIDEVICEID current);

// Opens a sound file in MCI's MPEG player, which plays WAV files too, waiting for its answer;
// on success `device` is the new device.
MCIERROR OpenSound(const std::filesystem::path& file, MCIDEVICEID& device);

}  // namespace veldrisa
