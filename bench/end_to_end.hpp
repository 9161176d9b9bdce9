// The real game through a real sound server: from a key sent to the X server to the first sample the server
// plays.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sound_server.hpp"

namespace veldrisa::bench {

struct EndToEndFigures {
    std::map<std::string, std::vector<double>>
        answerMs;  // per key: sent to the first audible sample of its answer
    std::vector<double> allAnswersMs;
    std::vector<double> silenceMs;  // Control sent to the end of the last audible sample
    int unanswered = 0;             // keys whose answer never became audible
    // Where an answer's time goes, per key that went through every step: the X server and SDL
    // (key sent to the game taking it), the game (to the text given to espeak-ng), espeak-ng (to
    // its first samples), the device (to the first buffer of the mix that holds them), the server
    // (to the first audible sample on its sink).
    std::vector<double> deliveryMs, handlingMs, synthesisMs, deviceMs, serverMs;
    // Where the time to silence goes after Control: the X server and SDL, the game and the device
    // (to the first buffer of the mix that is all silence), the server (what it still held).
    std::vector<double> controlDeliveryMs, controlMixMs, controlServerMs;
    int dropouts = 0;                // gaps heard in the answers, from a stream the server found dry
    double answerSeconds = 0;        // of answers examined for them
    std::vector<double> startupMs;   // the game started to the first audible sample of the introduction
    int underruns = -1;              // reported by the server for the game's streams
    int voiceUnderruns = -1;         // of those, the stream that carried the voice
    double sinkLatencyMs = -1;       // the sink's configured latency while the game played
    std::string streams;             // the playback streams as the server described them
    std::vector<std::string> texts;  // the texts of the answers, as espeak-ng was given them
};

// Plays the game (started from a folder without its room sounds, so that every sound heard is
// an answer) with three characters in the player's hands: F5, H and the digits or Space the
// phase asks for, each after silence, and Control after F5 and H, until `keys` answers are measured.
// The voice's way to the server: a stream of its own (the game's choice), or SDL's mix (VELDRISA_VOICE_OUTPUT=sdl).
enum class VoicePath { Server, Mixer };
// The name the game gives its voice's own stream.
constexpr const char* VoiceStream = "Voz";
EndToEndFigures MeasureEndToEnd(const std::string& game, const std::string& tap, const SoundServer& server,
                                MonitorCapture& capture, int keys, VoicePath path);

// The game started again and again, from a folder without its room sounds, through the server:
// each time from the start to the first audible sample of its introduction, added to `into`.
void MeasureStartups(const std::string& game, const SoundServer& server, const MonitorCapture& capture, int runs,
                     VoicePath path, std::vector<double>& into);

struct PeerServerFigures {
    std::vector<double> espeakMs;  // the espeak-ng program started to its first audible sample
    std::vector<double> spdSayMs;  // spd-say started to speech-dispatcher's first audible sample
    std::string spdSayProblem;     // why spd-say gave no figure, if it did not
};

// The same texts through the same server, from the programs a Linux player would otherwise hear.
PeerServerFigures MeasurePeersThroughServer(const std::vector<std::string>& texts, const SoundServer& server,
                                            MonitorCapture& capture);

}  // namespace veldrisa::bench
