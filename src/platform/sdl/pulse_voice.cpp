// The voice's stream on the sound server: connecting, writing ahead, flushing and draining.
#include "platform/sdl/pulse_voice.hpp"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string_view>

namespace veldrisa {
namespace {

// The first name of a driver list such as "pulseaudio,alsa".
std::string_view FirstDriver(const char* drivers) {
    std::string_view all(drivers);
    return all.substr(0, all.find(','));
}

bool ServerDriver(std::string_view driver) {
    return driver == "pulseaudio" || driver == "pulse" || driver == "pipewire";
}

void Signal(pa_threaded_mainloop* loop) { pa_threaded_mainloop_signal(loop, 0); }

}  // namespace

VoiceRoute PreferredVoiceRoute(const char* sdlDriver, const char* voiceOutput) {
    if (voiceOutput && std::string_view(voiceOutput) == "sdl") return VoiceRoute::Mixer;
    if (sdlDriver && *sdlDriver && !ServerDriver(FirstDriver(sdlDriver))) return VoiceRoute::Mixer;
    return VoiceRoute::Server;
}

std::unique_ptr<PulseVoice> VoiceServerFor(const char* sdlDriver, const char* voiceOutput) {
    if (PreferredVoiceRoute(sdlDriver, voiceOutput) != VoiceRoute::Server) return nullptr;
    std::string error;
    auto server = PulseVoice::Connect(error);
    if (!server) std::cerr << "Aviso: no hay servidor de sonido (" << error << "); la voz sale por SDL.\n";
    return server;
}

std::unique_ptr<PulseVoice> PulseVoice::Connect(std::string& error) {
    std::unique_ptr<PulseVoice> voice(new PulseVoice);
    voice->loop_ = pa_threaded_mainloop_new();
    if (!voice->loop_) {
        error = "no se pudo crear el bucle de sonido";
        return nullptr;
    }
    voice->context_ = pa_context_new(pa_threaded_mainloop_get_api(voice->loop_), "La fortuna de Veldrisa");
    if (!voice->context_) {
        error = "no se pudo crear el contexto de sonido";
        return nullptr;
    }
    pa_context_set_state_callback(
        voice->context_, [](pa_context*, void* loop) { Signal(static_cast<pa_threaded_mainloop*>(loop)); },
        voice->loop_);
    pa_threaded_mainloop_lock(voice->loop_);
    const bool connected =
        pa_threaded_mainloop_start(voice->loop_) == 0 &&
        pa_context_connect(voice->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) == 0 &&
        voice->WaitForContext(error);
    if (!connected && error.empty()) error = pa_strerror(pa_context_errno(voice->context_));
    pa_threaded_mainloop_unlock(voice->loop_);
    if (!connected) return nullptr;
    return voice;
}

// With the loop's lock held. The state callback signals each change; a timer bounds the wait, since a
// server that accepts the connection and then says nothing would hold the game for ever.
bool PulseVoice::WaitForContext(std::string& error) {
    const pa_usec_t deadline = pa_rtclock_now() + pa_usec_t(ConnectTimeoutMs) * PA_USEC_PER_MSEC;
    pa_time_event* timer = pa_context_rttime_new(
        context_, deadline,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* loop) {
            Signal(static_cast<pa_threaded_mainloop*>(loop));
        },
        loop_);
    pa_context_state_t state;
    while ((state = pa_context_get_state(context_)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state) &&
           pa_rtclock_now() < deadline)
        pa_threaded_mainloop_wait(loop_);
    if (timer) pa_threaded_mainloop_get_api(loop_)->time_free(timer);
    if (state == PA_CONTEXT_READY) return true;
    error = PA_CONTEXT_IS_GOOD(state) ? "el servidor de sonido no respondió a tiempo"
                                      : pa_strerror(pa_context_errno(context_));
    return false;
}

PulseVoice::~PulseVoice() {
    if (!loop_) return;
    pa_threaded_mainloop_stop(loop_);
    if (stream_) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    pa_threaded_mainloop_free(loop_);
}

bool PulseVoice::open(int rate, std::string& error) {
    rate_ = rate;
    silence_.assign(static_cast<std::size_t>(rate * SilenceAfterCutMs / 1000), 0);
    const pa_sample_spec spec{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(rate), 1};
    pa_threaded_mainloop_lock(loop_);
    stream_ = pa_stream_new(context_, "Voz", &spec, nullptr);
    bool ready = false;
    if (stream_) {
        pa_stream_set_state_callback(
            stream_,
            [](pa_stream* s, void* voice) {
                auto& self = *static_cast<PulseVoice*>(voice);
                if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s))) self.broken_ = true;
                Signal(self.loop_);
            },
            this);
        // A short target and the smallest start: after a flush, playback starts with the first write.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength =
            static_cast<std::uint32_t>(pa_usec_to_bytes(TargetLatencyMs * PA_USEC_PER_MSEC, &spec));
        attr.prebuf = static_cast<std::uint32_t>(pa_frame_size(&spec));
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        ready = pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                           nullptr) == 0 &&
                WaitForStream();
    }
    if (!ready && error.empty()) error = pa_strerror(pa_context_errno(context_));
    pa_threaded_mainloop_unlock(loop_);
    return ready;
}

// With the loop's lock held.
bool PulseVoice::WaitForStream() {
    pa_stream_state_t state;
    while ((state = pa_stream_get_state(stream_)) == PA_STREAM_CREATING) pa_threaded_mainloop_wait(loop_);
    return state == PA_STREAM_READY;
}

void PulseVoice::interrupt(bool silent) {
    pa_threaded_mainloop_lock(loop_);
    // The drain first tells the server that the old message ends here: emptied by the flush, the
    // stream is then taken for drained, not for one that ran dry.
    if (!broken_) {
        pa_operation_unref(pa_stream_drain(stream_, nullptr, nullptr));
        pa_operation_unref(pa_stream_flush(stream_, nullptr, nullptr));
        if (silent)
            pa_stream_write(stream_, silence_.data(), silence_.size() * sizeof(short), nullptr, 0,
                            PA_SEEK_RELATIVE);
    }
    pa_threaded_mainloop_unlock(loop_);
    written_ = 0;
}

void PulseVoice::write(const short* samples, int count) {
    if (count <= 0) return;
    pa_threaded_mainloop_lock(loop_);
    if (!broken_)
        pa_stream_write(stream_, samples, static_cast<std::size_t>(count) * sizeof(short), nullptr, 0,
                        PA_SEEK_RELATIVE);
    pa_threaded_mainloop_unlock(loop_);
    if (written_ == 0) firstWriteUs_ = static_cast<std::int64_t>(pa_rtclock_now());
    written_ += static_cast<std::uint64_t>(count);
}

void PulseVoice::finish(std::uint64_t generation) {
    pa_threaded_mainloop_lock(loop_);
    // Also what keeps the server from taking the end of each message for a stream that ran dry.
    if (!broken_) {
        drains_.push_back(std::make_unique<Drain>(Drain{this, generation}));
        pa_operation_unref(pa_stream_drain(stream_, &PulseVoice::OnDrained, drains_.back().get()));
    }
    pa_threaded_mainloop_unlock(loop_);
}

// On the loop's thread, with its lock held, as finish() holds it. The server answers only the latest
// drain of a stream: an older one is answered by the client library's time-out, as a failure.
void PulseVoice::OnDrained(pa_stream*, int, void* pending) {
    auto* drain = static_cast<Drain*>(pending);
    PulseVoice& self = *drain->voice;
    if (drain->generation > self.drained_) self.drained_ = drain->generation;
    self.drains_.erase(std::find_if(self.drains_.begin(), self.drains_.end(),
                                    [&](const auto& d) { return d.get() == drain; }));
}

bool PulseVoice::drained(std::uint64_t generation) const { return broken_ || drained_ >= generation; }

double PulseVoice::secondsAhead() const {
    if (written_ == 0 || rate_ <= 0) return 0;
    const double played =
        double(static_cast<std::int64_t>(pa_rtclock_now()) - firstWriteUs_) / PA_USEC_PER_SEC;
    return double(written_) / rate_ - played;
}

}  // namespace veldrisa
