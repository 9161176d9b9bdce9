// The espeak-ng speech engine: its thread, the voice list, the rate scale and the audio hook.
#include "platform/sdl/espeak_speech_engine.hpp"

#include <SDL2/SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/sdl/plain_forms.hpp"
#include "platform/sdl/spanish_voices.hpp"
#include "platform/shared/spoken_punctuation.hpp"
#include "platform/shared/valid_utf8.hpp"

namespace veldrisa {
namespace {

// Ends of the rate scale in espeak-ng's words per minute. Below about 86 it speaks no slower
// (its own floor of 80 is lower than that), so the slow end stays clear of it; the fast end is
// its documented maximum.
constexpr int SlowestWpm = 88;
constexpr int NormalWpm = espeakRATE_NORMAL;    // 175
constexpr int FastestWpm = espeakRATE_MAXIMUM;  // 450
// The furthest the game's scale reaches: its stops at -50/+50 are tested before a step of 5.
constexpr int ScaleEnd = 54;

// Audio is handed over in slices of this many milliseconds, so that a new message is
// noticed between two slices of a long one.
constexpr int SliceMs = 30;

// espeak-ng is a process-wide singleton that cannot be initialised a second time, so its
// start-up and the voice list it yields are kept for the whole process.
std::mutex& EspeakMutex() {
    static std::mutex m;
    return m;
}
struct EspeakSession {
    bool started = false;
    int sampleRate = 0;
    std::vector<OfferedVoice> voices;
};
EspeakSession& Session() {
    static EspeakSession s;
    return s;
}

thread_local EspeakSpeechEngine* synthesizingFor = nullptr;
// While the voices are tried out at start-up, the samples they make are only counted.
thread_local std::uint64_t probeSamples = 0;

bool IsFile(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode) && s.st_size > 0;
}

bool ProgramOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = std::min(folders.find(':', start), folders.size());
        if (end > start && IsFile(folders.substr(start, end - start) + "/" + program)) return true;
        start = end + 1;
    }
    return false;
}

// espeak-ng runs the mbrola program with a voice file from these places; without them it
// only complains on stderr, so a voice whose data is missing is not even tried.
bool MbrolaDataInstalled(const std::string& identifier) {
    const std::string voice = identifier.substr(identifier.rfind('-') + 1);
    if (!ProgramOnPath("mbrola")) return false;
    for (const std::string& path : {"/usr/share/mbrola/" + voice, "/usr/share/mbrola/" + voice + "/" + voice,
                                    "/usr/share/mbrola/voices/" + voice})
        if (IsFile(path)) return true;
    return false;
}

void SynthesizeAboveSpaces(const std::string& text);

// A voice is offered only once espeak-ng has loaded it; an MBROLA voice must also speak.
bool VoiceLoads(const std::string& identifier) {
    const bool mbrola = IsMbrolaVoice(identifier);
    if (mbrola && !MbrolaDataInstalled(identifier)) return false;
    if (espeak_SetVoiceByName(identifier.c_str()) != EE_OK) return false;
    if (!mbrola) return true;
    probeSamples = 0;
    SynthesizeAboveSpaces("a");
    return probeSamples > 0;
}

// The voices espeak-ng lists, each with its first language, the one it is made for.
std::vector<OfferedVoice> ListSpanishVoices() {
    std::vector<VoiceEntry> listed;
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
        const char* identifier = (*v)->identifier;
        const char* languages = (*v)->languages;
        if (!identifier || !languages || !languages[0]) continue;
        listed.push_back({identifier, languages + 1});  // past the priority byte
    }
    bool haveFemale = false;
    espeak_VOICE variants{};
    variants.languages = "variant";
    for (const espeak_VOICE** v = espeak_ListVoices(&variants); v && *v; ++v)
        if ((*v)->identifier && std::string((*v)->identifier) == std::string("!v/") + FemaleVariant)
            haveFemale = true;
    return SpanishVoices(listed, haveFemale, VoiceLoads);
}

// espeak-ng 1.51 sometimes finds the end of a word (Spanish words ending in "s", such as
// "adiós" or "Thomas") by scanning upwards for a space, past its own buffer and through the
// frames above. On a thread's stack nothing may hold a space before the stack ends, and the
// scan faults. So it is called from a frame that holds a run of spaces just above its own,
// which ends any such scan there.
[[gnu::noinline]] void SynthesizeAboveSpaces(const std::string& text) {
    char spaces[4096];
    std::memset(spaces, ' ', sizeof spaces);
    // The spaces must be in place before the call and stay there until it returns.
    asm volatile("" : : "r"(spaces) : "memory");
    // Plain UTF-8: no SSML and no phoneme brackets, so any name is read as text.
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    asm volatile("" : : "r"(spaces) : "memory");
}

// SDL's converter keeps the last few hundred samples of its input until more arrive, even
// when flushed; this much silence after each message pushes the message's own end out.
constexpr std::size_t TailSilence = 1024;

// How far ahead of what is heard the server is given a long text: well within the minute and a half
// (4 MiB) it holds of the voice's stream.
constexpr double MaxSecondsAhead = 20;

// Samples are passed to the converter a slice at a time, on the audio thread, so that neither
// side spends long inside the lock.
constexpr std::size_t SliceSamples = 4096;

}  // namespace

int EspeakSpeechEngine::WordsPerMinute(int rate) {
    // Two exponential halves meeting at espeak-ng's normal speed: every step of the scale
    // changes the speed by the same ratio, so even a step of 1 is heard at either end.
    //   rate <= 0: 175 * (88 / 175) ^ (-rate / 54)     -50 -> 93 wpm, -54 -> 88 wpm
    //   rate >= 0: 175 * (450 / 175) ^ (rate / 54)     +50 -> 420 wpm, +54 -> 450 wpm
    // rounded to whole words per minute; beyond -54 and +54 the ends hold.
    double end = rate < 0 ? SlowestWpm : FastestWpm;
    double wpm = NormalWpm * std::pow(end / NormalWpm, std::abs(rate) / double(ScaleEnd));
    return std::clamp(static_cast<int>(std::lround(wpm)), SlowestWpm, FastestWpm);
}

EspeakSpeechEngine::EspeakSpeechEngine(AudioOutput& audio, std::unique_ptr<PulseVoice> server)
    : audio_(audio) {
    thread_ = std::thread([this] { Run(); });
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return ready_; });
    }
    if (sampleRate_ > 0 && server) OpenServerStream(std::move(server));
    // Not under the lock: the mixer calls the hook with its own lock held, then takes ours.
    if (sampleRate_ > 0 && !server_ && audio_.open()) {
        stream_ = SDL_NewAudioStream(AUDIO_S16SYS, 1, sampleRate_, audio_.format(),
                                     static_cast<Uint8>(audio_.channels()), audio_.frequency());
        if (stream_) {
            // Room for a minute of speech, so that copying samples rarely allocates.
            raw_.reserve(static_cast<std::size_t>(sampleRate_) * 60);
            Mix_HookMusic(&EspeakSpeechEngine::Hook, this);
        }
    }
}

void EspeakSpeechEngine::OpenServerStream(std::unique_ptr<PulseVoice> server) {
    std::string error;
    if (!server->open(sampleRate_, error)) {
        std::cerr << "Aviso: el servidor de sonido no aceptó la voz (" << error
                  << "); la voz sale por SDL.\n";
        return;
    }
    std::lock_guard lock(mutex_);
    server_ = std::move(server);
    serverLimiter_.emplace(1.0, AudioOutput::Ceiling * AudioOutput::VoiceShare, AudioOutput::ReleaseSeconds,
                           sampleRate_);
}

EspeakSpeechEngine::~EspeakSpeechEngine() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        ++generation_;
    }
    changed_.notify_all();
    requested_.notify_all();
    thread_.join();
    server_.reset();
    if (stream_) {
        Mix_HookMusic(nullptr, nullptr);
        SDL_FreeAudioStream(stream_);
    }
}

void EspeakSpeechEngine::Run() {
    // A key's answer waits for this thread's first samples: ahead of a busy machine's other work
    // when the system allows it (SDL asks the system, or its real-time service, for the rise).
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    std::lock_guard espeak(EspeakMutex());
    EspeakSession& session = Session();
    if (!session.started) {
        session.started = true;
        // Without the flag espeak-ng ends the whole process when its data is missing.
        int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, SliceMs, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            session.sampleRate = rate;
            espeak_SetSynthCallback(&EspeakSpeechEngine::OnSynth);
            session.voices = ListSpanishVoices();
        }
    }
    {
        std::lock_guard lock(mutex_);
        sampleRate_ = session.sampleRate;
        for (const auto& v : session.voices) voices_.push_back({v.name, v.description});
        ready_ = true;
    }
    changed_.notify_all();

    synthesizingFor = this;
    std::string currentVoice;
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            requested_.wait(lock, [this] { return stop_ || pending_; });
            if (stop_) return;
            request = std::move(*pending_);
            pending_.reset();
            synthesizing_ = request.generation;
        }
        if (request.voice != currentVoice && espeak_SetVoiceByName(request.voice.c_str()) == EE_OK)
            currentVoice = request.voice;
        espeak_SetParameter(espeakRATE, request.wordsPerMinute, 0);
        espeak_SetParameter(espeakPUNCTUATION, espeakPUNCT_ALL, 0);
        SynthesizeAboveSpaces(request.text);
        {
            std::lock_guard lock(mutex_);
            if (generation_ == request.generation) {
                if (server_)
                    server_->finish(request.generation);
                else
                    raw_.insert(raw_.end(), TailSilence, 0);
                synthesisFinished_ = true;
                if (probe_) probe_->finished();
            }
            finished_ = std::max(finished_, request.generation);
        }
        changed_.notify_all();
    }
}

int EspeakSpeechEngine::OnSynth(short* samples, int count, espeak_EVENT*) {
    if (!synthesizingFor) {
        if (samples && count > 0) probeSamples += static_cast<std::uint64_t>(count);
        return 0;
    }
    // Returning 1 makes espeak-ng abandon the message: a newer one has arrived.
    if (!synthesizingFor->Deliver(samples, count)) return 1;
    synthesizingFor->Pace();
    return 0;
}

bool EspeakSpeechEngine::Deliver(const short* samples, int count) {
    std::lock_guard lock(mutex_);
    if (stop_ || generation_ != synthesizing_) return false;
    if (!samples || count <= 0) return true;
    if (probe_) probe_->synthesized(samples, count);
    if (server_)
        Write(samples, count);
    else
        // Only a copy here, to keep the lock short; the audio thread feeds the converter.
        raw_.insert(raw_.end(), samples, samples + count);
    return true;
}

// Straight to the server, at the voice's share of the level; the probe sees each write as a delivery.
void EspeakSpeechEngine::Write(const short* samples, int count) {
    limited_.assign(samples, samples + count);
    serverLimiter_->Process(limited_.data(), count, 1);
    server_->write(limited_.data(), count);
    if (probe_)
        probe_->delivered(SpeechDelivery{
            std::chrono::steady_clock::now(), generation_, reinterpret_cast<const Uint8*>(limited_.data()),
            count * int(sizeof(short)), count * int(sizeof(short)), int(sizeof(short)), false});
}

// The server holds a minute and a half of the voice at most: a long text waits while it is far ahead of what
// is heard, or until it is replaced.
void EspeakSpeechEngine::Pace() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (!server_ || stop_ || generation_ != synthesizing_ ||
                server_->secondsAhead() < MaxSecondsAhead)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(SliceMs));
    }
}

void EspeakSpeechEngine::Hook(void* engine, Uint8* out, int length) {
    static_cast<EspeakSpeechEngine*>(engine)->Feed(out, length);
}

void EspeakSpeechEngine::Feed(Uint8* out, int length) {
    int got = 0;
    {
        std::lock_guard lock(mutex_);
        ++callbacks_;
        while (rawRead_ < raw_.size() && SDL_AudioStreamAvailable(stream_) < length) {
            std::size_t slice = std::min(SliceSamples, raw_.size() - rawRead_);
            SDL_AudioStreamPut(stream_, raw_.data() + rawRead_, static_cast<int>(slice * sizeof(short)));
            rawRead_ += slice;
        }
        if (rawRead_ == raw_.size()) {
            raw_.clear();
            rawRead_ = 0;
            // The converter holds back a few samples for resampling until told the end.
            if (synthesisFinished_ && !flushed_) {
                SDL_AudioStreamFlush(stream_);
                flushed_ = true;
            }
        }
        got = std::max(0, SDL_AudioStreamGet(stream_, out, length));
        if (got > 0) lastFedCallback_ = callbacks_;
        // The output is signed 16-bit, whose silence is zero.
        std::memset(out + got, 0, static_cast<std::size_t>(length - got));
        if (probe_)
            probe_->delivered(SpeechDelivery{std::chrono::steady_clock::now(), generation_, out, got, length,
                                             SDL_AUDIO_BITSIZE(audio_.format()) / 8 * audio_.channels(),
                                             synthesisFinished_});
        // The probe hears the speech at its own level; the mix takes it with headroom.
        AudioOutput::ApplyHeadroom(out, got);
    }
    changed_.notify_all();
}

void EspeakSpeechEngine::setProbe(SpeechProbe* probe) {
    std::lock_guard lock(mutex_);
    probe_ = probe;
}

void EspeakSpeechEngine::createVoice() {
    voice_ = 0;
    rate_ = 0;
}

std::vector<std::string> EspeakSpeechEngine::voiceDescriptions() {
    std::vector<std::string> descriptions;
    for (const auto& v : voices_) descriptions.push_back(v.description);
    return descriptions;
}

void EspeakSpeechEngine::selectVoice(int position) {
    if (position >= 0 && position < static_cast<int>(voices_.size())) voice_ = position;
}

void EspeakSpeechEngine::speak(std::string text) { Replace(std::move(text)); }

void EspeakSpeechEngine::stop() { Replace({}); }

void EspeakSpeechEngine::Replace(std::string text) {
    if ((!stream_ && !server_) || voices_.empty()) return;
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        if (server_) server_->interrupt(text.empty());
        if (stream_) SDL_AudioStreamClear(stream_);
        raw_.clear();
        rawRead_ = 0;
        flushed_ = false;
        synthesisFinished_ = false;
        if (probe_) probe_->begun(generation_);
        if (text.empty()) {
            pending_.reset();
            finished_ = generation_;
            if (server_) server_->finish(generation_);
        } else {
            // espeak-ng keeps quiet about a mark that ends the text; with a space after it, it is
            // read like any other.
            pending_ = Request{generation_, SpanishMarks(PlainForms(ValidUtf8(text))) + " ",
                               voices_[static_cast<std::size_t>(voice_)].name, WordsPerMinute(rate_)};
        }
    }
    changed_.notify_all();
    requested_.notify_all();
}

bool EspeakSpeechEngine::Idle() const {
    if (server_) return finished_ >= generation_ && server_->drained(generation_);
    // Two more device callbacks after the last one that took samples: by then the device
    // has played that buffer out.
    return finished_ >= generation_ && raw_.empty() && (flushed_ || !synthesisFinished_) &&
           SDL_AudioStreamAvailable(stream_) == 0 && callbacks_ >= lastFedCallback_ + 2;
}

void EspeakSpeechEngine::waitUntilDone() {
    if (!stream_ && !server_) return;
    std::unique_lock lock(mutex_);
    while (!Idle()) {
        changed_.wait_for(lock, std::chrono::milliseconds(10));
        if (pump_) {
            lock.unlock();
            bool goOn = pump_();
            lock.lock();
            if (!goOn) return;
        }
    }
}

}  // namespace veldrisa
