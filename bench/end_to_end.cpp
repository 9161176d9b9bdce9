// The real game through a real sound server: from a key sent to the X server to the first sample the server
// plays.
#include "end_to_end.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <set>

#include "game.hpp"

namespace veldrisa::bench {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct TapEvent {
    char kind;
    Clock::time_point at;
    std::string text;
};

// The tap's lines, read on a thread of their own as the game writes them.
class TapReader {
public:
    TapReader() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        read_ = fds[0];
        // Without close-on-exec: this is the end the game inherits.
        write_ = fcntl(fds[1], F_DUPFD, 10);
        close(fds[1]);
        thread_ = std::thread([this] { Run(); });
    }
    ~TapReader() {
        closeWriteEnd();
        if (thread_.joinable()) thread_.join();
        if (read_ >= 0) close(read_);
    }
    TapReader(const TapReader&) = delete;
    TapReader& operator=(const TapReader&) = delete;

    int writeEnd() const { return write_; }
    // Once the game has it: the thread then sees the end of the pipe when the game ends.
    void closeWriteEnd() {
        if (write_ >= 0) close(write_);
        write_ = -1;
    }

    std::vector<TapEvent> since(Clock::time_point from) const {
        std::lock_guard lock(mutex_);
        std::vector<TapEvent> found;
        for (const auto& e : events_)
            if (e.at >= from) found.push_back(e);
        return found;
    }
    // A text is being synthesized, or the last step came less than `quiet` ago.
    bool busy(Clock::duration quiet) const {
        std::lock_guard lock(mutex_);
        return open_ || (!events_.empty() && Clock::now() - events_.back().at < quiet);
    }
    std::string latestText() const {
        std::lock_guard lock(mutex_);
        return latest_;
    }
    int texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    void Run() {
        std::string pending;
        char buf[65536];
        ssize_t n;
        while ((n = read(read_, buf, sizeof buf)) > 0) {
            pending.append(buf, static_cast<std::size_t>(n));
            for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
                Take(pending.substr(0, end));
                pending.erase(0, end + 1);
            }
        }
    }
    void Take(const std::string& line) {
        if (line.size() < 3) return;
        const auto gap = line.find(' ', 2);
        TapEvent e{line[0], Clock::time_point(std::chrono::microseconds(std::atoll(line.c_str() + 2))),
                   gap == std::string::npos ? std::string() : line.substr(gap + 1)};
        std::lock_guard lock(mutex_);
        if (e.kind == 'B') {
            open_ = true;
            latest_ = e.text;
            ++texts_;
        } else if (e.kind == 'E') {
            open_ = false;
        }
        events_.push_back(std::move(e));
    }

    int read_ = -1, write_ = -1;
    mutable std::mutex mutex_;
    std::vector<TapEvent> events_;
    bool open_ = false;
    std::string latest_;
    int texts_ = 0;
    std::thread thread_;
};

// Keys through the X server's test extension, as a person's keyboard would send them.
class KeySender {
public:
    KeySender() : display_(XOpenDisplay(nullptr)) {}
    ~KeySender() {
        if (display_) XCloseDisplay(display_);
    }
    KeySender(const KeySender&) = delete;
    KeySender& operator=(const KeySender&) = delete;

    bool ok() const { return display_ != nullptr; }
    // Presses and releases the key; returns when the press was about to leave for the X server.
    Clock::time_point press(const std::string& keysym) {
        const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym.c_str()));
        const auto at = Clock::now();
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XFlush(display_);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XFlush(display_);
        return at;
    }

private:
    Display* display_;
};

template <typename Condition>
bool WaitFor(Condition condition, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::optional<Clock::time_point> FirstAudible(const MonitorCapture& capture, Clock::time_point from,
                                              Clock::duration limit) {
    std::optional<Clock::time_point> heard;
    WaitFor([&] { return (heard = capture.firstAudible(from)).has_value(); }, limit);
    return heard;
}

bool Silent(const MonitorCapture& capture, Clock::duration span, Clock::duration limit) {
    return WaitFor([&] { return capture.silentFor() >= span; }, limit);
}

// Control until nothing is heard and no text is being made for a moment. A key pressed while
// the game waits for a message to end is kept for afterwards, so this may take a whole message.
bool Settle(KeySender& keys, const TapReader& tap, const MonitorCapture& capture) {
    const auto deadline = Clock::now() + 120s;
    Clock::time_point lastControl{};
    while (Clock::now() < deadline) {
        const bool silent = capture.silentFor() >= 300ms;
        if (silent && !tap.busy(300ms)) return true;
        if (!silent && Clock::now() - lastControl > 1s) lastControl = keys.press("Control_L");
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

std::map<std::string, std::string> GameEnvironment(const SoundServer& server, const std::string& tap,
                                                   const TapReader& reader, VoicePath path) {
    auto env = server.environment();
    if (path == VoicePath::Mixer) env["VELDRISA_VOICE_OUTPUT"] = "sdl";
    env["SDL_AUDIODRIVER"] = "pulseaudio";
    env["LD_PRELOAD"] = tap;
    env["VELDRISA_BENCH_TAP_FD"] = std::to_string(reader.writeEnd());
    return env;
}

// The steps of one answer, when the tap saw each of them in order.
void Breakdown(const std::vector<TapEvent>& events, Clock::time_point sent, Clock::time_point heard,
               EndToEndFigures& f) {
    const char order[] = {'K', 'B', 'S', 'D'};
    Clock::time_point at[4];
    std::size_t step = 0;
    for (const auto& e : events) {
        if (step < 4 && e.kind == order[step] && e.at <= heard) at[step++] = e.at;
    }
    if (step < 4) return;
    f.deliveryMs.push_back(Ms(at[0] - sent));
    f.handlingMs.push_back(Ms(at[1] - at[0]));
    f.synthesisMs.push_back(Ms(at[2] - at[1]));
    f.deviceMs.push_back(Ms(at[3] - at[2]));
    f.serverMs.push_back(Ms(heard - at[3]));
}

// Control's steps to silence, when the tap saw the key and then a silent buffer of the mix.
void ControlBreakdown(const std::vector<TapEvent>& events, Clock::time_point sent, Clock::time_point silent,
                      EndToEndFigures& f) {
    auto key = std::find_if(events.begin(), events.end(), [](const TapEvent& e) { return e.kind == 'K'; });
    if (key == events.end()) return;
    auto quiet = std::find_if(key, events.end(), [](const TapEvent& e) { return e.kind == 'Q'; });
    if (quiet == events.end()) return;
    f.controlDeliveryMs.push_back(Ms(key->at - sent));
    f.controlMixMs.push_back(Ms(quiet->at - key->at));
    f.controlServerMs.push_back(Ms(silent - quiet->at));
}

void CountDropouts(const MonitorCapture& capture, Clock::time_point from, Clock::time_point to,
                   EndToEndFigures& f) {
    const auto d = capture.dropouts(from, to);
    f.dropouts += d.gaps;
    f.answerSeconds += d.seconds;
}

// The key the phase asks for, read from the game's latest prompt, or from its reminder when a
// key came too early (a reminder answered with Space would be repeated for ever).
std::string ProgressKey(const std::string& prompt, std::mt19937& random) {
    auto digit = [&](int last) { return std::to_string(std::uniform_int_distribution<int>(1, last)(random)); };
    auto says = [&](const char* words) { return prompt.find(words) != std::string::npos; };
    if (says("habitación desea ir") || says("una de las salas")) return digit(4);
    if (says("es su turno de jugar") || says("una de las cartas")) return digit(2);
    if (says("la partida ha terminado") || says("elija el jugador") || says("objetivos para elegir")) return "1";
    return "space";
}

// A key and its answer, after silence; then, for the keys that only speak, Control and the silence after it.
void Measure(const std::string& key, bool thenControl, KeySender& keys, const TapReader& tap,
             const MonitorCapture& capture, EndToEndFigures& f) {
    if (!Settle(keys, tap, capture)) return;
    const auto sent = keys.press(key);
    auto heard = FirstAudible(capture, sent, 3s);
    if (!heard) {
        ++f.unanswered;
        return;
    }
    const std::string label =
        key.size() == 1 && std::isdigit(static_cast<unsigned char>(key[0])) ? "digit" : key;
    f.answerMs[label].push_back(Ms(*heard - sent));
    f.allAnswersMs.push_back(Ms(*heard - sent));
    std::this_thread::sleep_for(150ms);
    Breakdown(tap.since(sent), sent, *heard, f);
    for (const auto& e : tap.since(sent))
        if (e.kind == 'B' && e.at <= *heard) f.texts.push_back(e.text);
    if (!thenControl) {
        CountDropouts(capture, *heard, *heard + 150ms, f);
        return;
    }
    const auto control = keys.press("Control_L");
    CountDropouts(capture, *heard, control, f);
    if (!Silent(capture, 200ms, 3s)) return;
    auto last = capture.lastAudible(control, Clock::now());
    f.silenceMs.push_back(last ? Ms(*last - control) : 0.0);
    if (last) ControlBreakdown(tap.since(control), control, *last, f);
}

}  // namespace

EndToEndFigures MeasureEndToEnd(const std::string& game, const std::string& tap, const SoundServer& server,
                                MonitorCapture& capture, int keys, VoicePath path) {
    EndToEndFigures f;
    const fs::path folder = TemporaryFolder();
    const fs::path copy = folder / "veldrisa";
    std::error_code error;
    fs::copy_file(game, copy, error);
    if (error) return f;
    TapReader reader;
    const auto start = Clock::now();
    pid_t pid = Spawn({copy.string()}, GameEnvironment(server, tap, reader, path));
    reader.closeWriteEnd();
    KeySender sender;
    if (pid > 0 && sender.ok() && !WaitForWindow().empty()) {
        if (auto heard = FirstAudible(capture, start, 10s)) f.startupMs.push_back(Ms(*heard - start));
        const int underrunsBefore = server.underruns();
        const std::string voiceStream = path == VoicePath::Server ? VoiceStream : "";
        const int voiceUnderrunsBefore = server.underruns(voiceStream);
        // Three characters for the player: the keys of the setup screen are answers too.
        for (const char* key : {"space", "Right", "space", "Right", "space", "Return"})
            Measure(key, false, sender, reader, capture, f);
        std::mt19937 random(13);
        std::string prompt;
        for (int cycle = 0; int(f.allAnswersMs.size()) < keys && cycle < 4 * keys; ++cycle) {
            switch (cycle % 3) {
                case 0:
                    Settle(sender, reader, capture);
                    prompt = reader.latestText();
                    Measure("F5", true, sender, reader, capture, f);
                    break;
                case 1: Measure("h", true, sender, reader, capture, f); break;
                default: Measure(ProgressKey(prompt, random), false, sender, reader, capture, f); break;
            }
            if (cycle == 30) {
                if (auto latency = server.sinkLatencyMs()) f.sinkLatencyMs = *latency;
                f.streams = server.describeStreams();
            }
        }
        f.underruns = server.underruns() - underrunsBefore;
        f.voiceUnderruns = server.underruns(voiceStream) - voiceUnderrunsBefore;
    }
    if (pid > 0) Stop(pid);
    fs::remove_all(folder, error);
    return f;
}

void MeasureStartups(const std::string& game, const SoundServer& server, const MonitorCapture& capture, int runs,
                     VoicePath path, std::vector<double>& into) {
    const fs::path folder = TemporaryFolder();
    const fs::path copy = folder / "veldrisa";
    std::error_code error;
    fs::copy_file(game, copy, error);
    auto env = server.environment();
    env["SDL_AUDIODRIVER"] = "pulseaudio";
    if (path == VoicePath::Mixer) env["VELDRISA_VOICE_OUTPUT"] = "sdl";
    for (int run = 0; run < runs && !error; ++run) {
        Silent(capture, 200ms, 10s);
        const auto start = Clock::now();
        pid_t pid = Spawn({copy.string()}, env);
        if (pid <= 0) break;
        if (auto heard = FirstAudible(capture, start, 10s)) into.push_back(Ms(*heard - start));
        Stop(pid);
    }
    fs::remove_all(folder, error);
}

PeerServerFigures MeasurePeersThroughServer(const std::vector<std::string>& texts, const SoundServer& server,
                                            MonitorCapture& capture) {
    PeerServerFigures f;
    const auto& env = server.environment();
    for (const auto& text : texts) {
        Silent(capture, 200ms, 10s);
        const auto start = Clock::now();
        pid_t pid = Spawn({"espeak-ng", "-v", "es", "--punct", text}, env);
        if (pid <= 0) break;
        if (auto heard = FirstAudible(capture, start, 10s)) f.espeakMs.push_back(Ms(*heard - start));
        std::this_thread::sleep_for(100ms);
        kill(pid, SIGTERM);
        Reap(pid, 5s);
    }

    // The first call starts speech-dispatcher itself; the figures are those of a running one.
    Silent(capture, 200ms, 10s);
    if (!Output({"spd-say", "-l", "es", "-w", "listo"}, 30s, env)) {
        f.spdSayProblem = "spd-say did not run";
        return f;
    }
    for (const auto& text : texts) {
        Silent(capture, 200ms, 10s);
        const auto start = Clock::now();
        pid_t pid = Spawn({"spd-say", "-l", "es", text}, env);
        if (pid <= 0) break;
        if (auto heard = FirstAudible(capture, start, 10s)) f.spdSayMs.push_back(Ms(*heard - start));
        Reap(pid, 5s);
        std::this_thread::sleep_for(100ms);
        Output({"spd-say", "-C"}, 5s, env);
    }
    if (f.spdSayMs.empty()) f.spdSayProblem = "speech-dispatcher was never heard";
    // It would leave by itself a few seconds after its last client; it is stopped at once instead.
    std::ifstream pidFile(env.at("XDG_RUNTIME_DIR") + "/speech-dispatcher/pid/speech-dispatcher.pid");
    pid_t dispatcher = 0;
    if (pidFile >> dispatcher && dispatcher > 0) {
        kill(dispatcher, SIGTERM);
        WaitFor([&] { return kill(dispatcher, 0) != 0; }, 10s);
    }
    return f;
}

}  // namespace veldrisa::bench
