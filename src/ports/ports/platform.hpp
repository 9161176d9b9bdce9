// The small ports through which the game reaches everything outside itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/speech_engine.hpp"

namespace veldrisa {

// One room-sound player: a file by name, play, stop.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void setFileName(const std::string& name) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    // The sound's level in percent of its own loudness, 0 silent; players start at DefaultVolume.
    virtual void setVolume(int percent) = 0;
    static constexpr int DefaultVolume = 40;
};

// The system beep that refuses a key.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The source of the number that seeds each new game.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t seed() = 0;
};

// Where the program lives; the room sounds are looked up there.
class Folders {
public:
    virtual ~Folders() = default;
    virtual std::string programFolder() = 0;
    virtual void setCurrentDirectory(const std::string& path) = 0;
};

// Hears what a player would perceive beyond the ports above: every call of the
// speaking routine, every window that opens and every text field. The game itself needs none.
class Observer {
public:
    virtual ~Observer() = default;
    virtual void said(std::string_view text, bool waitBefore, bool waitAfter) = 0;
    virtual void screenOpened(const char* name) = 0;
    // A text field opens over the screen, holding initial.
    virtual void dialogOpened(std::string_view title, std::string_view prompt, std::string_view initial) = 0;
    // Who hears what comes next (said, played, beeped), until the next call: an Audiencia value.
    // A game played around one keyboard has no use for it.
    virtual void addressedTo(int audience) { (void)audience; }
    // A player's character is asked for its choice; whoever does not control it may be told whose
    // turn it is.
    virtual void turnOf(int character, std::string_view name) {
        (void)character;
        (void)name;
    }
};

// Who a message is for: everyone, the one who pressed the key being handled, or 1..10, the player
// of that character alone.
namespace Audiencia {
constexpr int Todos = 0;
constexpr int QuienPulsa = -1;
}  // namespace Audiencia

// Everything the program is given by its platform.
struct Platform {
    SpeechEngine& speech;
    SoundPlayer* sounds[4];  // the rooms' players 1..4, stored from 0
    Beeper& beeper;
    Clock& clock;
    Folders& folders;
    Observer* observer = nullptr;
};

}  // namespace veldrisa
