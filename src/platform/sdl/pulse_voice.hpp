// The voice's own playback stream on a PulseAudio server (or PipeWire's PulseAudio service).
#pragma once

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veldrisa {

// Where the voice is played: straight to the sound server, or into SDL's mix with everything else.
enum class VoiceRoute { Server, Mixer };

// The route from SDL's audio driver and the game's own switch (VELDRISA_VOICE_OUTPUT=sdl), either
// possibly unset. A driver named outright that is not the server's (SDL's dummy or disk driver in the
// tests, ALSA) keeps the voice in SDL's mix, where that driver hears it.
VoiceRoute PreferredVoiceRoute(const char* sdlDriver, const char* voiceOutput);

class PulseVoice;
// The voice's server, for the route these settings choose: none for the mixer, or where no server
// answers, which is said in one line on stderr (the voice then goes through SDL as it always could).
std::unique_ptr<PulseVoice> VoiceServerFor(const char* sdlDriver, const char* voiceOutput);

// Speech is synthesized far faster than it is spoken, so each message is written to the server as it
// is made, well ahead of playback; the server holds it and plays it on its own schedule. A new message
// drops what the server still holds (pa_stream_flush), so the old voice stops at once.
//
// Every call but the constructor's is made from the speech engine, under its own lock; the server's
// callbacks run on this object's thread and never call back into the engine.
class PulseVoice {
public:
    // What the stream asks the server for. The server gives the sink about half of it, less a margin,
    // and a sink is run at the shortest its streams ask for: shorter than SDL's own request, it would
    // make the server wake every millisecond and SDL's stream of the room sounds run dry. The voice
    // is not slowed by it: written ahead, a new message makes the server take back what it had
    // already mixed (a rewind) and play the new one at once.
    static constexpr int TargetLatencyMs = 12;
    // Silence queued when the voice is cut to silence. To start a message at once, after the stream
    // ran dry, the server rewinds the stream by about the time it ran dry, over what it had already
    // played: without this silence the next message, however much later, opened with the last
    // milliseconds of the one cut short, heard as a click. Not queued before a new message: the new
    // one would wait behind it.
    static constexpr int SilenceAfterCutMs = 40;
    // How long the connection to a server may take before it is given up.
    static constexpr int ConnectTimeoutMs = 1500;

    // Connects to the server the environment names (or the usual one); nullptr when none answers,
    // with the reason in `error`. Never starts a server.
    static std::unique_ptr<PulseVoice> Connect(std::string& error);
    ~PulseVoice();
    PulseVoice(const PulseVoice&) = delete;
    PulseVoice& operator=(const PulseVoice&) = delete;

    // Opens the playback stream: mono, signed 16-bit, at `rate`. False, with the reason, when the server
    // refuses it.
    bool open(int rate, std::string& error);

    // Drops what the server still holds of the message being played; the next write starts the next
    // one. `silent`: no message follows, and a little silence is queued.
    void interrupt(bool silent);
    // Hands samples to the server at once.
    void write(const short* samples, int count);
    // The message `generation` is complete; once the server has played it, drained() says so.
    void finish(std::uint64_t generation);
    // The server has played everything up to the end of message `generation`, or the stream is gone
    // (the server stopped): nothing more will be heard.
    bool drained(std::uint64_t generation) const;
    // How far the samples written since the last interruption are ahead of real time, in seconds.
    double secondsAhead() const;

private:
    PulseVoice() = default;
    bool WaitForContext(std::string& error);
    bool WaitForStream();
    // A drain the server has yet to answer, and the message it closes.
    struct Drain {
        PulseVoice* voice;
        std::uint64_t generation;
    };
    static void OnDrained(pa_stream* stream, int success, void* drain);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    int rate_ = 0;
    // Frames written since the last interruption, and when the first of them was.
    std::uint64_t written_ = 0;
    std::vector<short> silence_;  // the silence queued after a cut
    std::int64_t firstWriteUs_ = 0;
    std::vector<std::unique_ptr<Drain>> drains_;  // under the loop's lock
    std::atomic<std::uint64_t> drained_{0};
    std::atomic<bool> broken_{false};
};

}  // namespace veldrisa
