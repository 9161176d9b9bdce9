// A SpeechEngine that writes each message to a text file (VELDRISA_VOICE_FILE): the voice of the
// game's window tests on both platforms, and of a tester who wants to read what was said.
#pragma once

#include <fstream>
#include <string>

#include "ports/speech_engine.hpp"

namespace veldrisa {

class FileSpeechEngine : public SpeechEngine {
public:
    // The file is created anew; each message is one line, a silenced voice an empty one.
    explicit FileSpeechEngine(const std::string& path);
    bool open() const { return out_.is_open(); }

    // The file stands for one voice, always there.
    bool available() override { return true; }
    void createVoice() override { rate_ = 0; }
    std::vector<std::string> voiceDescriptions() override { return {"Voz de prueba (archivo)"}; }
    void selectVoice(int) override {}
    int rate() const override { return rate_; }
    void setRate(int rate) override { rate_ = rate; }
    void speak(std::string text) override;
    void stop() override { speak({}); }
    void waitUntilDone() override {}

private:
    std::ofstream out_;
    int rate_ = 0;
};

}  // namespace veldrisa
