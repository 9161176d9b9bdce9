// veldrisa-bench: speech latency, start-up, idle cost, memory and rules throughput, as a table.
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "end_to_end.hpp"
#include "game.hpp"
#include "peer.hpp"
#include "platform/sdl/audio_output.hpp"
#include "platform/sdl/espeak_speech_engine.hpp"
#include "rules.hpp"
#include "script.hpp"
#include "sound_server.hpp"
#include "speech.hpp"
#include "stats.hpp"

namespace {

using namespace veldrisa;
using namespace veldrisa::bench;

// Seeds of the scripted games whose messages are spoken.
const std::vector<std::uint32_t> Seeds = {1, 2, 3};
// How long each message is heard after its first sample before the next one cuts it off:
// long enough to catch a gap in the first clauses.
constexpr int HoldMs = 100;
constexpr int StartupRuns = 15;
constexpr int IdleSeconds = 10;
constexpr int RulesIntervals = 10;

// Keys answered through the sound server, and texts given to its peers.
constexpr int ServerKeys = 150;
// The game started through the sound server, each way, after the start the keys are pressed in.
constexpr int ServerStartups = 10;
constexpr std::size_t PeerTexts = 40;

struct Section {
    bool speech = true, game = true, server = true, rules = true;
    // Only the start-ups through the server, many of them: the server section has them too.
    bool startup = false;
};

// A row judged by `met`, or given for reference when there is none.
Row Make(std::string measure, std::string unit, std::vector<double> samples, std::string target, bool higherIsBetter,
         const std::function<bool(const Row&)>& met) {
    Row r{std::move(measure), std::move(unit), std::move(samples), higherIsBetter, std::move(target), std::nullopt};
    if (met) r.met = !r.samples.empty() && met(r);
    return r;
}

std::string Fixed(double value, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

std::string Today() {
    char buf[32];
    std::time_t now = std::time(nullptr);
    std::strftime(buf, sizeof buf, "%Y-%m-%d", std::localtime(&now));
    return buf;
}

void PrintWakeups(const char* what, const IdleFigures& f) {
    std::printf("  %s: %.2f%% of a core by utime+stime over the span; audio peak %.3f; wake-ups per second:", what,
                f.statPercent, f.peak);
    for (const auto& [thread, rate] : f.wakeupsPerSecond) std::printf(" %s %.1f,", thread.c_str(), rate);
    std::printf("\n");
}

// What each path through the server is held to: the voice's own stream to the tighter targets.
enum class ServerTargets { Direct, Mixed };

void PrintServerDetails(const char* path, const EndToEndFigures& e, const PeerServerFigures& p) {
    const double period = 1000.0 * AudioOutput::BufferFrames / 44100;
    std::printf("  %s. Keys answered: %zu (", path, e.allAnswersMs.size());
    for (const auto& [key, ms] : e.answerMs) std::printf(" %s %zu,", key.c_str(), ms.size());
    std::printf(" ); not answered within 3 s: %d. Control: %zu.\n", e.unanswered, e.silenceMs.size());
    std::printf("    Start-up to the first audible sample of the introduction, %zu starts: median %.1f ms, best %.1f, "
                "worst %.1f. Control: %ld of %zu silences came later than one device period.\n",
                e.startupMs.size(), Percentile(e.startupMs, 50), Percentile(e.startupMs, 0),
                Percentile(e.startupMs, 100),
                std::count_if(e.silenceMs.begin(), e.silenceMs.end(), [&](double ms) { return ms > period; }),
                e.silenceMs.size());
    std::printf("    Sink latency as configured with the game playing: %.2f ms; streams: %s.\n", e.sinkLatencyMs,
                e.streams.c_str());
    std::printf("    Where an answer's time goes (median of %zu keys; 95th percentile): key delivery (X server, "
                "SDL) %.2f (%.2f), the game's handling %.2f (%.2f), espeak-ng's first audible samples %.2f (%.2f), "
                "to the first audible write or buffer of the mix %.2f (%.2f), the server to the sink %.2f (%.2f) ms.\n",
                e.deliveryMs.size(), Percentile(e.deliveryMs, 50), Percentile(e.deliveryMs, 95),
                Percentile(e.handlingMs, 50), Percentile(e.handlingMs, 95), Percentile(e.synthesisMs, 50),
                Percentile(e.synthesisMs, 95), Percentile(e.deviceMs, 50), Percentile(e.deviceMs, 95),
                Percentile(e.serverMs, 50), Percentile(e.serverMs, 95));
    std::printf("    Where Control's time to silence goes (median of %zu; 95th percentile): key delivery %.2f (%.2f), "
                "the game, to the flush or the first silent buffer of the mix %.2f (%.2f), what the server still "
                "held %.2f (%.2f) ms.\n",
                e.controlMixMs.size(), Percentile(e.controlDeliveryMs, 50), Percentile(e.controlDeliveryMs, 95),
                Percentile(e.controlMixMs, 50), Percentile(e.controlMixMs, 95), Percentile(e.controlServerMs, 50),
                Percentile(e.controlServerMs, 95));
    std::printf("    Underruns reported by the server while the game was measured: %d, %d of them of the stream that "
                "carried the voice; gaps heard in %.1f s of answers: %d.\n",
                e.underruns, e.voiceUnderruns, e.answerSeconds, e.dropouts);
    const double ours = Percentile(e.allAnswersMs, 50);
    std::printf("    Our median is %.2f of the espeak-ng program's and %.2f of spd-say's.\n",
                ours / Percentile(p.espeakMs, 50), ours / Percentile(p.spdSayMs, 50));
}

// The details and the rows of one path through the server, its rows named after it.
void ReportServerPath(const char* path, const EndToEndFigures& e, const PeerServerFigures& p,
                      ServerTargets targets, std::vector<Row>& rows) {
    PrintServerDetails(path, e, p);
    const double best = std::min(p.espeakMs.empty() ? INFINITY : Percentile(p.espeakMs, 50),
                                 p.spdSayMs.empty() ? INFINITY : Percentile(p.spdSayMs, 50));
    const double period = 1000.0 * AudioOutput::BufferFrames / 44100;
    const std::string name = std::string(" (") + path + ")";
    const bool direct = targets == ServerTargets::Direct;
    if (direct)
        rows.push_back(Make("End to end: key sent to the first audible sample of its answer" + name, "ms",
                            e.allAnswersMs, "median <= 8, 95th <= 15, median <= a third of the best peer's", false,
                            [best](const Row& r) { return r.median() <= 8 && r.p95() <= 15 && r.median() <= best / 3; }));
    else
        rows.push_back(Make("End to end: key sent to the first audible sample of its answer" + name, "ms",
                            e.allAnswersMs, "median <= 15, 95th <= 25, median <= half the best peer's", false,
                            [best](const Row& r) { return r.median() <= 15 && r.p95() <= 25 && r.median() <= best / 2; }));
    rows.push_back(Make("End to end: Control sent to silence" + name, "ms", e.silenceMs,
                        direct ? "median <= 6" : "<= one device period (" + Fixed(period, 1) + " ms)", false,
                        [direct, period](const Row& r) { return direct ? r.median() <= 6 : r.worst() <= period; }));
    rows.push_back(Make(std::string(direct ? "Control: the key taken to the voice's flush"
                                           : "Control: the key taken to the first silent buffer of the mix") +
                            name,
                        "ms", e.controlMixMs, "<= one device period (" + Fixed(period, 1) + " ms)", false,
                        [period](const Row& r) { return r.worst() <= period; }));
    rows.push_back(Make("Start-up: game started to the first audible sample of the introduction" + name, "ms",
                        e.startupMs, "median <= 100", false, [](const Row& r) { return r.median() <= 100; }));
    rows.push_back(Make("Underruns of the voice's stream reported by the server" + name, "",
                        {double(e.voiceUnderruns)}, "0", false, [](const Row& r) { return r.worst() == 0; }));
    rows.push_back(Make("Gaps heard in the answers (silence cut into sound)" + name, "", {double(e.dropouts)}, "0",
                        false, [](const Row& r) { return r.worst() == 0; }));
}

// The game's answers through the server, both ways, its start-ups, and the peers on the same texts.
void MeasureThroughServer(const std::string& game, const std::string& tap, const SoundServer& server,
                          MonitorCapture& capture, std::vector<Row>& rows) {
    std::fprintf(stderr, "Pressing %d keys in the game, its voice on a stream of its own...\n", ServerKeys);
    EndToEndFigures direct = MeasureEndToEnd(game, tap, server, capture, ServerKeys, VoicePath::Server);
    const int underrunsDirect = server.underruns();
    std::fprintf(stderr, "Pressing %d keys in the game, its voice in SDL's mix...\n", ServerKeys);
    EndToEndFigures mixed = MeasureEndToEnd(game, tap, server, capture, ServerKeys, VoicePath::Mixer);
    std::fprintf(stderr, "Starting the game %d times each way...\n", ServerStartups);
    MeasureStartups(game, server, capture, ServerStartups, VoicePath::Server, direct.startupMs);
    MeasureStartups(game, server, capture, ServerStartups, VoicePath::Mixer, mixed.startupMs);
    std::vector<std::string> texts;
    for (const auto& t : direct.texts)
        if (texts.size() < PeerTexts && std::find(texts.begin(), texts.end(), t) == texts.end())
            texts.push_back(t);
    std::fprintf(stderr, "Running espeak-ng and spd-say on %zu of the same texts through the server...\n",
                 texts.size());
    PeerServerFigures p = MeasurePeersThroughServer(texts, server, capture);
    const int underrunsAll = server.underruns();

    std::printf(
        "Through the sound server (PulseAudio, null sink, its monitor recorded in 5.8 ms fragments); "
        "underruns over the whole run: %d, %d of them by the end of the first game:\n",
        underrunsAll, underrunsDirect);
    if (!p.spdSayProblem.empty()) std::printf("  spd-say: %s.\n", p.spdSayProblem.c_str());
    ReportServerPath("The voice on a stream of its own", direct, p, ServerTargets::Direct, rows);
    ReportServerPath("The voice in SDL's mix", mixed, p, ServerTargets::Mixed, rows);
    rows.push_back(Make("Peer: espeak-ng program started to its first audible sample, through the server",
                        "ms", p.espeakMs, "(reference)", false, nullptr));
    rows.push_back(Make("Peer: spd-say to speech-dispatcher's first audible sample, through the server", "ms",
                        p.spdSayMs, "(reference)", false, nullptr));
}

}  // namespace

int main(int argc, char** argv) {
    Section only;
    if (argc > 1) {
        only = {false, false, false, false};
        for (int i = 1; i < argc; ++i) {
            std::string a = argv[i];
            if (a == "speech") only.speech = true;
            else if (a == "game") only.game = true;
            else if (a == "server") only.server = true;
            else if (a == "rules") only.rules = true;
            else if (a == "startup") only.startup = true;
            else {
                std::fprintf(stderr, "usage: veldrisa-bench [speech] [game] [server] [rules] [startup]\n");
                return 2;
            }
        }
    }
    const auto here = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::string game = (here.parent_path() / "veldrisa").string();
    const std::string tap = (here / "libveldrisa-bench-tap.so").string();

    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("Machine: %u cores, %s, load average %.2f at the start.\n", std::thread::hardware_concurrency(),
                Today().c_str(), load[0]);
    std::vector<Row> rows;

    // First, while nothing else of the benchmark's is still running or exiting (speech-dispatcher
    // and the sound server take a moment to go): the verdict takes the worst second.
    if (only.rules) {
        cpu_set_t all, one;
        sched_getaffinity(0, sizeof all, &all);
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        sched_setaffinity(0, sizeof one, &one);
        std::fprintf(stderr, "Playing computer-only games for %d s...\n", RulesIntervals);
        rows.push_back(Make("Rules: computer-only games per second, one core (per second)", "games/s",
                            GamesPerSecond(RulesIntervals, 1.0), ">= 10000", true,
                            [](const Row& r) { return r.worst() >= 10000; }));
        sched_setaffinity(0, sizeof all, &all);
    }

    if (only.speech) {
        // SDL's dummy driver runs anywhere: it takes a buffer, then sleeps what the buffer lasts.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        auto audio = std::make_unique<AudioOutput>();
        auto engine = std::make_unique<EspeakSpeechEngine>(*audio);
        if (!audio->open() || engine->voiceDescriptions().empty()) {
            std::fprintf(stderr, "veldrisa-bench: no audio output or no Spanish voice\n");
            return 1;
        }
        const double periodMs = 1000.0 * AudioOutput::BufferFrames / audio->frequency();
        std::fprintf(stderr, "Collecting the messages of %zu scripted games...\n", Seeds.size());
        auto calls = ScriptedGames(engine->voiceDescriptions(), Seeds);
        std::set<std::string> distinct;
        for (const auto& c : calls)
            if (c.kind == EngineCall::Kind::Speak) distinct.insert(c.text);
        std::fprintf(stderr, "Speaking %zu distinct texts through espeak-ng and the mixer...\n", distinct.size());
        SpeechFigures s = MeasureSpeech(*engine, calls, static_cast<int>(periodMs * 1000), HoldMs);
        const int frequency = audio->frequency(), channels = audio->channels();
        const SDL_AudioFormat format = audio->format();
        engine.reset();
        audio.reset();
        std::fprintf(stderr, "Running the espeak-ng program on the same texts...\n");
        PeerFigures p = MeasurePeer(s.openings, frequency, format, channels);

        std::printf(
            "Speech: %d messages of %zu scripted games (%zu distinct texts; %d of the messages silences of "
            "the silence key), each heard %d ms after its first sample.\n",
            s.messages, Seeds.size(), distinct.size(), s.silences, HoldMs);
        std::printf("  Device: %d Hz, %d channels, %d-frame buffers = %.1f ms; measured period median %.2f ms, "
                    "95th percentile %.2f ms, worst %.2f ms.\n",
                    frequency, channels, AudioOutput::BufferFrames, periodMs, Percentile(s.periodMs, 50),
                    Percentile(s.periodMs, 95), Percentile(s.periodMs, 100));
        std::printf("  Underruns (a request during synthesis, after the first sample, not filled): %d. "
                    "Messages never heard: %d. Requests that came before a first sample was ready: %d.\n",
                    s.underruns, s.unheard, s.waitsForFirst);
        std::printf("  Last sample of the old message handed to the device: at worst %.2f ms after speak() "
                    "(negative: before it); an interrupt ended at worst %.2f ms past the end of the device period "
                    "that held that sample (negative: before it).\n",
                    Percentile(s.lastOldMs, 100), s.interruptPastPeriodMs);
        std::printf("  Clipped starts: %d of %d openings do not line up with the espeak-ng program's audio.\n", p.clipped,
                    p.compared);
        for (const auto& t : p.clippedTexts) std::printf("    differs: %.100s\n", t.c_str());
        const double ours = Percentile(s.latencyMs, 50), theirs = Percentile(p.firstByteMs, 50);
        std::printf("  Peer: the espeak-ng program's first byte of audio, median %.1f ms; our median latency is "
                    "%.2f of it (95th percentile %.2f, worst %.2f).\n",
                    theirs, ours / theirs, Percentile(s.latencyMs, 95) / Percentile(p.firstByteMs, 95),
                    Percentile(s.latencyMs, 100) / Percentile(p.firstByteMs, 100));

        rows.push_back(Make("Speech latency: speak() to the first sample taken by the device", "ms", s.latencyMs,
                            "median <= 6, worst <= 12", false,
                            [](const Row& r) { return r.median() <= 6 && r.worst() <= 12; }));
        rows.push_back(Make("Interrupt: speak() to the end of the old message's last buffer", "ms", s.interruptMs,
                            "<= one device period (" + Fixed(periodMs, 1) + " ms)", false,
                            [&s](const Row&) { return s.interruptPastPeriodMs <= 0; }));
        rows.push_back(Make("Underruns per message", "", s.underrunsPerMessage, "0", false,
                            [](const Row& r) { return r.worst() == 0; }));
        rows.push_back(Make("Clipped starts per message", "", p.clippedPerOpening, "0", false,
                            [](const Row& r) { return r.worst() == 0; }));
        rows.push_back(Make("Peer: espeak-ng program, start to first byte of audio", "ms", p.firstByteMs,
                            "(reference)", false, nullptr));
    }

    if (only.game) {
        if (!std::getenv("DISPLAY")) {
            std::fprintf(stderr, "veldrisa-bench: the game runs need a display (run it under xvfb-run)\n");
            return 1;
        }
        std::fprintf(stderr, "Starting the game %d times...\n", StartupRuns);
        auto startup = StartupMs(game, StartupRuns);
        std::fprintf(stderr, "Watching the idle game, %d s on each screen...\n", IdleSeconds);
        Idle idle = MeasureIdle(game, IdleSeconds);
        std::fprintf(stderr, "Playing a whole game in the game's window...\n");
        Memory memory = MeasureMemory(game, tap);

        std::printf("Game executable: %s\n", game.c_str());
        PrintWakeups("Idle setup screen", idle.setup);
        PrintWakeups("Idle game window, fire playing", idle.fire);
        std::printf("  Whole game: %d moves, %d texts synthesized, %s, %.0f s; VmHWM %.1f MiB; peak of the mix "
                    "%.4f of full scale, %ld samples at full scale.\n",
                    memory.moves, memory.texts, memory.ended ? "played to its end" : "NOT played to its end",
                    memory.seconds, memory.peakMiB, memory.mixPeak, memory.fullScale);
        if (!memory.ended) std::printf("    The latest text: %.200s\n", memory.lastText.c_str());
        rows.push_back(Make("Peak of the mix over a whole game with the room sounds", "of full scale", {memory.mixPeak},
                            "< 1", false, [&memory](const Row& r) { return memory.ended && r.worst() < 1; }));
        rows.push_back(Make("Start-up: game started to the first sample of the introduction", "ms", startup, "<= 100",
                            false, [](const Row& r) { return r.worst() <= 100; }));
        rows.push_back(Make("Idle CPU, setup screen, silent (per second)", "%", idle.setup.cpuPercent, "<= 1", false,
                            [](const Row& r) { return r.worst() <= 1; }));
        rows.push_back(Make("Idle CPU, game window, fire playing (per second)", "%", idle.fire.cpuPercent, "<= 3",
                            false, [](const Row& r) { return r.worst() <= 3; }));
        rows.push_back(Make("Resident memory through a whole game (worst: VmHWM)", "MiB", memory.rssMiB, "<= 60",
                            false, [&memory](const Row& r) { return memory.ended && r.worst() <= 60; }));
    }

    if (only.server || only.startup) {
        if (!std::getenv("DISPLAY")) {
            std::fprintf(stderr, "veldrisa-bench: the game runs need a display (run it under xvfb-run)\n");
            return 1;
        }
        std::fprintf(stderr, "Starting a PulseAudio server with a null sink...\n");
        SoundServer server;
        std::optional<MonitorCapture> capture;
        if (server.running()) capture.emplace(server);
        if (!capture || !capture->running()) {
            std::fprintf(stderr, "veldrisa-bench: no sound server to measure through\n");
            return 1;
        }
        if (only.server) MeasureThroughServer(game, tap, server, *capture, rows);
        if (only.startup) {
            constexpr int Runs = 20;
            std::fprintf(stderr, "Starting the game %d times through the server...\n", Runs);
            std::vector<double> startups;
            MeasureStartups(game, server, *capture, Runs, VoicePath::Server, startups);
            rows.push_back(
                Make("Start-up: game started to the first audible sample of the introduction (The voice "
                     "on a stream of its own)",
                     "ms", startups, "median <= 100", false, [](const Row& r) { return r.median() <= 100; }));
        }
    }

    std::printf("\n");
    PrintTable(rows);
    return 0;
}
