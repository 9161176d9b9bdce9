// The SpeechEngine port on an embedded espeak-ng, speaking into the shared audio output.
#pragma once

#include <SDL2/SDL.h>
#include <espeak-ng/speak_lib.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/audio_output.hpp"
#include "platform/sdl/pulse_voice.hpp"
#include "platform/sdl/speech_probe.hpp"
#include "ports/speech_engine.hpp"

namespace veldrisa {

// espeak-ng is not thread-safe and its own asynchronous mode cancels unreliably, so one
// thread of ours owns it and synthesizes synchronously. The samples go either straight to the
// sound server, written as they are made (PulseVoice), or through an SDL audio stream, which
// converts them to the device's format, into the mixer's music hook.
// One engine at a time per process: espeak-ng itself is a process-wide singleton.
class EspeakSpeechEngine : public SpeechEngine {
public:
    // Starts the engine's thread and waits until espeak-ng is ready (or known to be missing).
    // With `server`, the voice is played through it when it opens a stream; otherwise, or when
    // it refuses one (said on stderr), through the mixer.
    explicit EspeakSpeechEngine(AudioOutput& audio, std::unique_ptr<PulseVoice> server = nullptr);
    ~EspeakSpeechEngine() override;
    EspeakSpeechEngine(const EspeakSpeechEngine&) = delete;
    EspeakSpeechEngine& operator=(const EspeakSpeechEngine&) = delete;

    // False when espeak-ng's data is missing or it has no Spanish voice.
    bool available() override { return !voices_.empty(); }
    void createVoice() override;
    // Empty when espeak-ng's data is missing or it has no Spanish voice.
    std::vector<std::string> voiceDescriptions() override;
    void selectVoice(int position) override;
    int rate() const override { return rate_; }
    void setRate(int rate) override { rate_ = rate; }
    void speak(std::string text) override;
    void stop() override;
    // Returns once the device has played the last sample, or at once without a device.
    void waitUntilDone() override;

    // Called over and over while waitUntilDone blocks so that the window stays alive;
    // returning false gives up the wait (the program is closing).
    void setWaitPump(std::function<bool()> pump) { pump_ = std::move(pump); }

    // The game's rate scale (0 normal, about -54..+54) in espeak-ng's words per minute.
    static int WordsPerMinute(int rate);

    // Attaches a measuring tool, or detaches it with nullptr; it must outlive its attachment.
    void setProbe(SpeechProbe* probe);
    // espeak-ng's output rate, 0 when it could not start.
    int sampleRate() const { return sampleRate_; }
    // The voice goes straight to the sound server.
    bool direct() const { return server_ != nullptr; }

private:
    struct Voice {
        std::string name;  // as espeak_SetVoiceByName takes it
        std::string description;
    };
    struct Request {
        std::uint64_t generation;
        std::string text;
        std::string voice;
        int wordsPerMinute;
    };

    // Starts the text in place of whatever was sounding; the empty text is silence.
    void Replace(std::string text);
    void OpenServerStream(std::unique_ptr<PulseVoice> server);
    void Run();
    bool Deliver(const short* samples, int count);
    void Write(const short* samples, int count);
    void Pace();
    void Feed(Uint8* out, int length);
    bool Idle() const;
    static void Hook(void* engine, Uint8* out, int length);
    static int OnSynth(short* samples, int count, espeak_EVENT* events);

    AudioOutput& audio_;
    int sampleRate_ = 0;
    std::vector<Voice> voices_;
    int voice_ = 0;
    int rate_ = 0;
    std::function<bool()> pump_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    // The engine's thread waits on this one alone, so that the device's callbacks, which
    // notify `changed_` each time, do not wake it for nothing.
    std::condition_variable requested_;
    bool ready_ = false;
    bool stop_ = false;
    std::uint64_t generation_ = 0;    // of the latest speak()
    std::uint64_t synthesizing_ = 0;  // generation the thread is working on
    std::uint64_t finished_ = 0;      // latest generation fully synthesized or dropped
    std::optional<Request> pending_;
    std::vector<short> raw_;  // synthesized, not yet in the converter
    std::size_t rawRead_ = 0;
    bool flushed_ = false;
    bool synthesisFinished_ = false;  // of the latest message
    SDL_AudioStream* stream_ = nullptr;
    std::unique_ptr<PulseVoice> server_;
    // The level of the voice on its own stream, as the mix's limiter sets it on the mixer's.
    std::optional<PeakLimiter> serverLimiter_;
    std::vector<short> limited_;
    std::uint64_t callbacks_ = 0;
    std::uint64_t lastFedCallback_ = 0;
    SpeechProbe* probe_ = nullptr;

    std::thread thread_;
};

}  // namespace veldrisa
