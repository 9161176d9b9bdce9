// Preloaded into the real game: writes the steps of each answer to a pipe, with the monotonic clock's time.
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>
#include <pulse/stream.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using Synth = espeak_ERROR (*)(const void*, size_t, unsigned int, espeak_POSITION_TYPE, unsigned int,
                               unsigned int, unsigned int*, void*);
using SynthCallback = int (*)(short*, int, espeak_EVENT*);
using MusicHook = void (*)(void*, Uint8*, int);

template <typename F>
F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// One line per step; the time is the monotonic clock's, which the benchmark's steady clock reads too.
void Send(char kind, const std::string& text = {}) {
    static const int fd = [] {
        const char* value = std::getenv("VELDRISA_BENCH_TAP_FD");
        return value ? std::atoi(value) : -1;
    }();
    if (fd < 0) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::string line =
        std::string(1, kind) + " " + std::to_string(now.tv_sec * 1000000LL + now.tv_nsec / 1000);
    if (!text.empty()) line += " " + text;
    line += "\n";
    for (std::size_t done = 0; done < line.size();) {
        ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// Armed when a text's synthesis begins: its first samples and its first sound in the mix are told once.
std::atomic<bool> awaitingSamples{false}, awaitingMix{false};
// Armed by each key: the first buffer of speech for the mix that is all silence after it is told once.
std::atomic<bool> awaitingQuiet{false};
SynthCallback gameCallback = nullptr;
MusicHook gameHook = nullptr;

// The monitor's threshold of an audible sample (about -54 dBFS). espeak-ng's samples reach the
// sink at their own level, so a text's first audible sample is told here by the same measure;
// many texts open with tens of milliseconds below it.
constexpr int Audible = 64;

bool AnyAudible(const short* samples, int count) {
    for (int i = 0; i < count; ++i)
        if (samples[i] > Audible || samples[i] < -Audible) return true;
    return false;
}

int OnSynth(short* samples, int count, espeak_EVENT* events) {
    if (awaitingSamples && AnyAudible(samples, count) && awaitingSamples.exchange(false)) Send('S');
    return gameCallback(samples, count, events);
}

// The hook's samples enter the mix at half their level, and the mix's limiter doubles them.
bool AnyAudibleInMix(const Uint8* out, int length) {
    const auto* samples = reinterpret_cast<const std::int16_t*>(out);
    for (int i = 0; i < length / 2; ++i)
        if (samples[i] > Audible / 2 || samples[i] < -Audible / 2) return true;
    return false;
}

bool AllSilent(const Uint8* out, int length) {
    for (int i = 0; i < length; ++i)
        if (out[i] != 0) return false;
    return true;
}

void OnMix(void* data, Uint8* out, int length) {
    gameHook(data, out, length);
    if (awaitingMix && AnyAudibleInMix(out, length) && awaitingMix.exchange(false)) Send('D');
    if (awaitingQuiet && AllSilent(out, length) && awaitingQuiet.exchange(false)) Send('Q');
}

// The game's voice stream on the sound server, when the voice goes there.
std::atomic<pa_stream*> voiceStream{nullptr};

void IfKey(int got, const SDL_Event* event) {
    if (got > 0 && event && event->type == SDL_KEYDOWN && !event->key.repeat) {
        awaitingQuiet = true;
        Send('K');
    }
}

}  // namespace

// K: the game takes a key from SDL. B: espeak-ng is given a text. S: its first audible samples.
// E: espeak_Synth returns. D: the first buffer of the mix that holds the text's sound, audibly.
// Q: the first buffer of speech for the mix after a key that is all silence (the benchmark plays no room sound).
// With the voice on a stream of its own, D is the first write to the server that holds the text's sound
// audibly, and Q the first flush after a key: the moments the mix's hook marks on the other path.
extern "C" espeak_ERROR espeak_Synth(const void* text, size_t size, unsigned int position,
                                     espeak_POSITION_TYPE position_type, unsigned int end_position,
                                     unsigned int flags, unsigned int* unique_identifier, void* user_data) {
    static const auto real = Real<Synth>("espeak_Synth");
    std::string line;
    for (const char* c = static_cast<const char*>(text); *c; ++c)
        line += (*c == '\n' || *c == '\r') ? ' ' : *c;
    awaitingSamples = awaitingMix = true;
    Send('B', line);
    espeak_ERROR result =
        real(text, size, position, position_type, end_position, flags, unique_identifier, user_data);
    Send('E');
    return result;
}

extern "C" void espeak_SetSynthCallback(SynthCallback callback) {
    static const auto real = Real<void (*)(SynthCallback)>("espeak_SetSynthCallback");
    gameCallback = callback;
    real(callback ? &OnSynth : nullptr);
}

extern "C" void Mix_HookMusic(MusicHook hook, void* data) {
    static const auto real = Real<void (*)(MusicHook, void*)>("Mix_HookMusic");
    gameHook = hook;
    real(hook ? &OnMix : nullptr, data);
}

extern "C" int SDL_WaitEvent(SDL_Event* event) {
    static const auto real = Real<int (*)(SDL_Event*)>("SDL_WaitEvent");
    int got = real(event);
    IfKey(got, event);
    return got;
}

extern "C" int SDL_WaitEventTimeout(SDL_Event* event, int timeout) {
    static const auto real = Real<int (*)(SDL_Event*, int)>("SDL_WaitEventTimeout");
    int got = real(event, timeout);
    IfKey(got, event);
    return got;
}

extern "C" int SDL_PollEvent(SDL_Event* event) {
    static const auto real = Real<int (*)(SDL_Event*)>("SDL_PollEvent");
    int got = real(event);
    IfKey(got, event);
    return got;
}

extern "C" pa_stream* pa_stream_new(pa_context* context, const char* name, const pa_sample_spec* spec,
                                    const pa_channel_map* map) {
    static const auto real =
        Real<pa_stream* (*)(pa_context*, const char*, const pa_sample_spec*, const pa_channel_map*)>("pa_stream_new");
    pa_stream* stream = real(context, name, spec, map);
    if (name && std::string(name) == "Voz") voiceStream = stream;
    return stream;
}

extern "C" int pa_stream_write(pa_stream* stream, const void* data, size_t bytes, pa_free_cb_t free, int64_t offset,
                               pa_seek_mode_t seek) {
    static const auto real =
        Real<int (*)(pa_stream*, const void*, size_t, pa_free_cb_t, int64_t, pa_seek_mode_t)>("pa_stream_write");
    const int result = real(stream, data, bytes, free, offset, seek);
    // The voice is written at its own level, mono 16-bit.
    if (stream == voiceStream && awaitingMix &&
        AnyAudible(static_cast<const short*>(data), static_cast<int>(bytes / 2)) && awaitingMix.exchange(false))
        Send('D');
    return result;
}

extern "C" pa_operation* pa_stream_flush(pa_stream* stream, pa_stream_success_cb_t done, void* data) {
    static const auto real = Real<pa_operation* (*)(pa_stream*, pa_stream_success_cb_t, void*)>("pa_stream_flush");
    if (stream == voiceStream && awaitingQuiet.exchange(false)) Send('Q');
    return real(stream, done, data);
}
