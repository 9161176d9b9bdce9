// The text-to-speech engine as the game sees it: one voice at a time.
#pragma once

#include <string>
#include <vector>

namespace veldrisa {

// Implemented by the espeak-ng and SAPI adapters, the file voice and the recording stand-in.
class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;

    // Whether any installed voice can speak; without one nothing the game says is heard.
    virtual bool available() = 0;

    // Replaces the voice by a fresh one with the engine's default voice and rate.
    virtual void createVoice() = 0;
    // Descriptions of the installed voices, in a stable order.
    virtual std::vector<std::string> voiceDescriptions() = 0;
    // Selects the installed voice at this position of voiceDescriptions().
    virtual void selectVoice(int position) = 0;
    // Speaking rate: 0 is normal speed, negative slower, positive faster.
    virtual int rate() const = 0;
    virtual void setRate(int rate) = 0;
    // Discards whatever is being spoken or queued, then starts speaking text
    // (punctuation read aloud, never interpreted as markup) and returns at once. The text is
    // handed over: every message is a fresh lower-cased copy.
    virtual void speak(std::string text) = 0;
    // Discards whatever is being spoken or queued: silence at once.
    virtual void stop() = 0;
    // Blocks until everything queued has been heard.
    virtual void waitUntilDone() = 0;
};

}  // namespace veldrisa
