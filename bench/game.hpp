// The real game executable under the virtual display: start-up, idle cost and memory over a whole game.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace veldrisa::bench {

// A new empty folder under the system's temporary one; empty when it could not be made.
std::filesystem::path TemporaryFolder();
// The game's window, once it is on screen and given the focus; empty when it never came.
std::string WaitForWindow();
// Asks the game to close, and kills it if it has not within ten seconds.
void Stop(pid_t pid);

// From the moment the game is started to the first non-silent sample the audio device
// takes, one figure per run; SDL's disk audio driver writes each buffer to a file as the
// device takes it, and the file's changes are watched.
std::vector<double> StartupMs(const std::string& game, int runs);

struct IdleFigures {
    std::vector<double> cpuPercent;  // of one core, per second, from the threads' run times
    double statPercent = 0;          // over the whole span, from utime + stime
    std::map<std::string, double> wakeupsPerSecond;
    double peak = 0;                 // largest sample the device took meanwhile, 0..1
};
struct Idle {
    IdleFigures setup;  // the setup screen, its introduction silenced
    IdleFigures fire;   // the game window, its report silenced, the fire playing
};
// Waits `seconds` on each screen for a key that does not come.
Idle MeasureIdle(const std::string& game, int seconds);

struct Memory {
    std::vector<double> rssMiB;  // after each move of the day, and the peak (VmHWM) at the end
    double peakMiB = 0;
    int moves = 0;
    int texts = 0;  // given to espeak-ng
    bool ended = false;
    std::string lastText;  // the latest text given to espeak-ng
    double seconds = 0;
    double mixPeak = 0;     // largest sample of the mix the device took, 0..1 of full scale
    long fullScale = 0;     // samples of the mix at full scale
};
// A whole game with all ten characters in the computer's hands, its room sounds playing:
// Control (silence) and Space as soon as espeak-ng has finished the latest text, until the
// game announces its end. The
// tap library, preloaded, reports the texts.
Memory MeasureMemory(const std::string& game, const std::string& tap);

}  // namespace veldrisa::bench
