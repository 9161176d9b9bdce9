// The real espeak-ng engine speaking the game's messages into the real mixer path.
#include "speech.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "platform/sdl/audio_output.hpp"
#include "platform/sdl/espeak_speech_engine.hpp"

namespace veldrisa::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// What the audio thread saw of one device request.
struct Request {
    Clock::time_point at;
    std::uint64_t generation;
    int delivered;
    int requested;
    bool synthesisFinished;
};

struct Sent {
    Clock::time_point at;
    std::uint64_t generation;
    bool empty;
    std::size_t text;  // index into the openings, for a non-empty text
};

// Gathers the requests on the audio thread; the main thread waits on it for a first sample.
class Deliveries : public SpeechProbe {
public:
    Deliveries() { requests_.reserve(1 << 20); }

    void begun(std::uint64_t) override {}
    void synthesized(const short*, int) override {}
    void finished() override {}
    void delivered(const SpeechDelivery& d) override {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({d.at, d.generation, d.delivered, d.requested, d.synthesisFinished});
            if (d.delivered > 0) {
                auto& opening = openings_[d.generation];
                if (opening.size() < static_cast<std::size_t>(OpeningFrames / AudioOutput::BufferFrames * d.requested))
                    opening.insert(opening.end(), d.data, d.data + d.delivered);
            }
        }
        changed_.notify_all();
    }

    bool waitForFirst(std::uint64_t generation, Clock::duration limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return openings_.count(generation) > 0; });
    }

    std::vector<Request> requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::map<std::uint64_t, std::vector<Uint8>> openings() {
        std::lock_guard lock(mutex_);
        return openings_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Request> requests_;
    std::map<std::uint64_t, std::vector<Uint8>> openings_;
};

void Analyse(const std::vector<Request>& requests, const std::vector<Sent>& sent, SpeechFigures& f) {
    for (std::size_t i = 1; i < requests.size(); ++i) f.periodMs.push_back(Ms(requests[i].at - requests[i - 1].at));
    std::size_t r = 0;
    for (std::size_t k = 0; k < sent.size(); ++k) {
        const Sent& s = sent[k];
        // The last request that still belonged to an older message.
        while (r < requests.size() && requests[r].generation < s.generation) ++r;
        if (r > 0 && r < requests.size()) {
            const Request& old = requests[r - 1];
            f.lastOldMs.push_back(Ms(old.at - s.at));
            if (old.delivered > 0 && old.generation + 1 == s.generation) {
                f.interruptMs.push_back(Ms(requests[r].at - s.at));
                f.interruptPastPeriodMs =
                    std::max(f.interruptPastPeriodMs, Ms(requests[r].at - s.at) - Ms(requests[r].at - old.at));
            }
        }
        if (s.empty) continue;
        const std::uint64_t next = k + 1 < sent.size() ? sent[k + 1].generation : UINT64_MAX;
        bool started = false;
        int underruns = 0;
        for (std::size_t q = r; q < requests.size() && requests[q].generation < next; ++q) {
            const Request& req = requests[q];
            if (req.generation != s.generation) continue;
            if (!started && req.delivered > 0) {
                started = true;
                f.latencyMs.push_back(Ms(req.at - s.at));
            } else if (!started) {
                ++f.waitsForFirst;
            }
            // A short buffer while the message is still being made is a gap in the speech.
            if (started && req.delivered < req.requested && !req.synthesisFinished) ++underruns;
        }
        if (!started) ++f.unheard;
        f.underruns += underruns;
        f.underrunsPerMessage.push_back(underruns);
    }
}

}  // namespace

SpeechFigures MeasureSpeech(EspeakSpeechEngine& engine, const std::vector<EngineCall>& calls, int periodUs,
                            int holdMs) {
    SpeechFigures f;
    Deliveries deliveries;
    engine.setProbe(&deliveries);

    std::mt19937 random(2024);
    std::uniform_int_distribution<int> phase(0, periodUs - 1);  // anywhere in a device period
    std::vector<Sent> sent;
    std::vector<Opening> texts;
    int voice = 0, rate = 0;
    std::uint64_t generation = 0;
    for (const auto& call : calls) {
        switch (call.kind) {
        case EngineCall::Kind::CreateVoice:
            engine.createVoice();
            voice = rate = 0;
            continue;
        case EngineCall::Kind::SelectVoice:
            engine.selectVoice(call.number);
            voice = call.number;
            continue;
        case EngineCall::Kind::SetRate:
            engine.setRate(call.number);
            rate = call.number;
            continue;
        case EngineCall::Kind::Speak:
        case EngineCall::Kind::Stop: break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(phase(random)));
        const bool empty = call.kind == EngineCall::Kind::Stop || call.text.empty();
        auto at = Clock::now();
        call.kind == EngineCall::Kind::Stop ? engine.stop() : engine.speak(call.text);
        sent.push_back({at, ++generation, empty, texts.size()});
        ++f.messages;
        if (empty) {
            ++f.silences;
            std::this_thread::sleep_for(60ms);
            continue;
        }
        texts.push_back({call.text, voice, rate, {}});
        if (deliveries.waitForFirst(generation, 3s)) std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
    }
    engine.stop();
    std::this_thread::sleep_for(60ms);
    engine.setProbe(nullptr);

    Analyse(deliveries.requests(), sent, f);
    auto openings = deliveries.openings();
    for (const auto& s : sent) {
        if (s.empty) continue;
        Opening o = texts[s.text];
        if (auto it = openings.find(s.generation); it != openings.end()) o.bytes = it->second;
        f.openings.push_back(std::move(o));
    }
    return f;
}

}  // namespace veldrisa::bench
