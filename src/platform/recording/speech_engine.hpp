// A speech engine that speaks nothing and writes down every request.
#pragma once

#include <string>
#include <vector>

#include "platform/recording/event.hpp"
#include "ports/speech_engine.hpp"

namespace veldrisa {

class RecordingSpeechEngine : public SpeechEngine {
public:
    static inline const std::vector<std::string> DefaultVoices{"Voz de prueba"};

    RecordingSpeechEngine(Recorder& recorder, std::vector<std::string> voices = DefaultVoices)
        : recorder_(recorder), voices_(std::move(voices)) {}

    // Descriptions that are all empty make no voice, as the game's own list of voices reads them.
    bool available() override;
    void createVoice() override;
    std::vector<std::string> voiceDescriptions() override { return voices_; }
    void selectVoice(int position) override;
    int rate() const override { return rate_; }
    void setRate(int rate) override;
    void speak(std::string text) override;
    void stop() override;
    // Recorded speech is heard the moment it is asked for.
    void waitUntilDone() override;

    int selectedVoice() const { return voice_; }

private:
    Recorder& recorder_;
    std::vector<std::string> voices_;
    int rate_ = 0;
    int voice_ = 0;
};

}  // namespace veldrisa
