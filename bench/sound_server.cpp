// A private PulseAudio server with a null sink, and a capture of that sink's monitor with timestamps.
#include "sound_server.hpp"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace veldrisa::bench {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int Rate = 44100;
// Frames per fragment of the capture: one device period of the game (5.8 ms). Shorter ones would
// drive the sink to a shorter latency than the game asks for, which no desktop does.
constexpr int CaptureFrames = 256;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The number after `label` on the first line holding it, in `text` from `from` on.
std::optional<double> NumberAfter(const std::string& text, const std::string& label, std::size_t from = 0) {
    auto at = text.find(label, from);
    if (at == std::string::npos) return std::nullopt;
    return std::atof(text.c_str() + at + label.size());
}

}  // namespace

SoundServer::SoundServer() {
    std::string pattern = (fs::temp_directory_path() / "veldrisa-pulse-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    folder_ = pattern;
    const std::string socket = (folder_ / "native").string();
    // The server and its clients keep their state, cookies and sockets in the folder; the
    // clients are given the socket, so none of them starts or finds another server.
    environment_ = {{"PULSE_SERVER", "unix:" + socket},
                    {"PULSE_RUNTIME_PATH", (folder_ / "runtime").string()},
                    {"PULSE_STATE_PATH", (folder_ / "state").string()},
                    {"XDG_RUNTIME_DIR", folder_.string()},
                    {"HOME", folder_.string()}};
    std::map<std::string, std::string> env = environment_;
    env.erase("PULSE_SERVER");
    pid_ = Spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                  "--log-level=debug", "--log-target=file:" + (folder_ / "server.log").string(),
                  "--load=module-null-sink sink_name=bench rate=44100 channels=2",
                  "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket},
                 env);
    if (pid_ <= 0) return;
    for (int i = 0; i < 200; ++i) {
        if (Output({"pactl", "info"}, 5s, environment_)) return;
        std::this_thread::sleep_for(50ms);
    }
    kill(pid_, SIGTERM);
    Reap(pid_, 5s);
    pid_ = -1;
}

SoundServer::~SoundServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        Reap(pid_, 10s);
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

std::optional<double> SoundServer::sinkLatencyMs() const {
    auto out = Output({"pactl", "list", "sinks"}, 5s, environment_);
    if (!out) return std::nullopt;
    auto usec = NumberAfter(*out, "configured ", out->find("Latency:"));
    if (!usec) return std::nullopt;
    return *usec / 1000;
}

int SoundServer::underruns(const std::string& stream) const {
    const std::string log = Slurp(folder_ / "server.log");
    // "Actual underrun of" a stream the sink asked for, "Implicit underrun of" one found dry
    // after the fact: either way the sink played silence in its place.
    const std::string mark = "underrun of '" + stream;
    const std::string end = stream.empty() ? "" : "'";
    int n = 0;
    for (auto at = log.find(mark); at != std::string::npos; at = log.find(mark, at + 1))
        if (log.compare(at + mark.size(), end.size(), end) == 0) ++n;
    return n;
}

std::string SoundServer::describeStreams() const {
    auto out = Output({"pactl", "list", "sink-inputs"}, 5s, environment_);
    if (!out) return "?";
    std::string described;
    for (auto at = out->find("Sink Input #"); at != std::string::npos;
         at = out->find("Sink Input #", at + 1)) {
        const auto next = out->find("Sink Input #", at + 1);
        const std::string one = out->substr(at, next == std::string::npos ? std::string::npos : next - at);
        auto name = one.find("application.name = \"");
        std::string app =
            name == std::string::npos ? "?" : one.substr(name + 20, one.find('"', name + 20) - name - 20);
        char line[200];
        std::snprintf(line, sizeof line, "%s%s: buffer %.1f ms, sink %.1f ms", described.empty() ? "" : "; ",
                      app.c_str(), NumberAfter(one, "Buffer Latency: ").value_or(NAN) / 1000,
                      NumberAfter(one, "Sink Latency: ").value_or(NAN) / 1000);
        described += line;
    }
    return described;
}

MonitorCapture::MonitorCapture(const SoundServer& server) : server_(server) {
    levels_.reserve(std::size_t(Rate) * 600);
    stamps_.reserve(std::size_t(Rate) * 600 / CaptureFrames);
    bool started = false;
    std::mutex m;
    std::condition_variable ready;
    thread_ = std::thread([&] {
        const std::string address = server_.environment().at("PULSE_SERVER");
        pa_sample_spec spec{PA_SAMPLE_S16LE, Rate, 2};
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.fragsize = CaptureFrames * 4;
        int error = 0;
        pa_simple* stream = pa_simple_new(address.c_str(), "veldrisa-bench", PA_STREAM_RECORD,
                                          "bench.monitor", "monitor", &spec, nullptr, &attr, &error);
        {
            std::lock_guard lock(m);
            running_ = stream != nullptr;
            started = true;
        }
        ready.notify_all();
        if (!stream) {
            std::fprintf(stderr, "veldrisa-bench: cannot record the sound server (%s)\n", pa_strerror(error));
            return;
        }
        std::int16_t buf[CaptureFrames * 2];
        while (!stop_ && pa_simple_read(stream, buf, sizeof buf, &error) == 0) {
            const auto at = Clock::now();
            std::lock_guard lock(mutex_);
            for (int i = 0; i < CaptureFrames; ++i)
                levels_.push_back(static_cast<std::uint16_t>(
                    std::max(std::abs(int(buf[2 * i])), std::abs(int(buf[2 * i + 1])))));
            stamps_.emplace_back(levels_.size() - 1, at);
        }
        pa_simple_free(stream);
    });
    std::unique_lock lock(m);
    ready.wait(lock, [&] { return started; });
    // The null sink starts with blocks of two seconds and adopts the capture's short latency
    // only when it wakes at the end of the first one.
    if (running_) std::this_thread::sleep_for(2500ms);
}

MonitorCapture::~MonitorCapture() {
    stop_ = true;
    thread_.join();
}

std::size_t MonitorCapture::FramesUpTo(Clock::time_point t) const {
    auto s = std::lower_bound(stamps_.begin(), stamps_.end(), t,
                              [](const auto& st, Clock::time_point at) { return st.second < at; });
    return s == stamps_.end() ? levels_.size() : s->first + 1;
}

Clock::time_point MonitorCapture::TimeOf(std::size_t frame) const {
    auto end = std::lower_bound(stamps_.begin(), stamps_.end(), frame,
                                [](const auto& s, std::size_t f) { return s.first < f; });
    if (end == stamps_.end()) --end;
    return end->second - std::chrono::microseconds((long(end->first) - long(frame)) * 1000000L / Rate);
}

std::optional<Clock::time_point> MonitorCapture::firstAudible(Clock::time_point from) const {
    std::lock_guard lock(mutex_);
    // The fragments before the one that reached us at `from` are left out whole.
    auto s = std::lower_bound(stamps_.begin(), stamps_.end(), from,
                              [](const auto& st, Clock::time_point t) { return st.second < t; });
    if (s == stamps_.end()) return std::nullopt;
    std::size_t frame = s->first + 1 >= CaptureFrames ? s->first + 1 - CaptureFrames : 0;
    for (; frame < levels_.size(); ++frame) {
        if (levels_[frame] <= Audible) continue;
        auto at = TimeOf(frame);
        if (at >= from) return at;
    }
    return std::nullopt;
}

std::optional<Clock::time_point> MonitorCapture::lastAudible(Clock::time_point from,
                                                             Clock::time_point to) const {
    std::lock_guard lock(mutex_);
    std::size_t frame = FramesUpTo(to);
    while (frame > 0) {
        --frame;
        if (levels_[frame] <= Audible) continue;
        auto at = TimeOf(frame) + std::chrono::microseconds(1000000 / Rate);
        if (at > to) continue;
        if (at < from) return std::nullopt;
        return at;
    }
    return std::nullopt;
}

Clock::duration MonitorCapture::silentFor() const {
    std::lock_guard lock(mutex_);
    std::size_t frame = levels_.size();
    while (frame > 0 && levels_[frame - 1] <= Audible) --frame;
    if (frame == levels_.size()) return Clock::duration::zero();
    return std::chrono::microseconds((long(levels_.size()) - long(frame)) * 1000000L / Rate);
}

MonitorCapture::Dropouts MonitorCapture::dropouts(Clock::time_point from, Clock::time_point to) const {
    // A dry stream leaves the server's period or so of silence, mid-waveform. espeak-ng's own
    // pauses, the closure before a "p" or a "t" included, last 20 ms and more and fade out first.
    constexpr std::size_t Edge = 4, ShortestGap = 8, LongestGap = Rate / 100;
    constexpr int Loud = 8 * Audible;
    std::lock_guard lock(mutex_);
    auto loud = [&](std::size_t begin) {
        return *std::max_element(levels_.begin() + long(begin), levels_.begin() + long(begin + Edge)) > Loud;
    };
    Dropouts d;
    const std::size_t first = FramesUpTo(from), last = FramesUpTo(to);
    d.seconds = last > first ? double(last - first) / Rate : 0;
    for (std::size_t f = first + Edge; f + Edge < last; ++f) {
        if (levels_[f] != 0) continue;
        std::size_t end = f;
        while (end < last && levels_[end] == 0) ++end;
        const std::size_t length = end - f;
        if (length >= ShortestGap && length <= LongestGap && end + Edge <= last && loud(f - Edge) &&
            loud(end))
            ++d.gaps;
        f = end;
    }
    return d;
}

double MonitorCapture::peak(Clock::time_point from, int* fullScale) const {
    std::lock_guard lock(mutex_);
    auto s = std::lower_bound(stamps_.begin(), stamps_.end(), from,
                              [](const auto& st, Clock::time_point t) { return st.second < t; });
    int top = 0, full = 0;
    for (std::size_t f = s == stamps_.end() ? levels_.size() : s->first; f < levels_.size(); ++f) {
        top = std::max(top, int(levels_[f]));
        if (levels_[f] >= 32767) ++full;
    }
    if (fullScale) *fullScale = full;
    return top / 32768.0;
}

}  // namespace veldrisa::bench
