// The real game executable under the virtual display: start-up, idle cost and memory over a whole game.
#include "game.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

#include "process.hpp"

namespace veldrisa::bench {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* WindowTitle = "^La fortuna de Veldrisa$";


bool Keys(const std::vector<std::string>& keys) {
    std::vector<std::string> argv{"xdotool", "key", "--delay", "10"};
    argv.insert(argv.end(), keys.begin(), keys.end());
    return Output(argv, 5s).has_value();
}


// Largest absolute 16-bit sample in a byte range of the captured output, scaled to 0..1.
double Peak(const fs::path& file, std::uintmax_t from, std::uintmax_t to) {
    int fd = open(file.c_str(), O_RDONLY);
    if (fd < 0) return 0;
    std::vector<std::int16_t> samples((to - from) / 2);
    ssize_t n = pread(fd, samples.data(), samples.size() * 2, static_cast<off_t>(from));
    close(fd);
    int peak = 0;
    for (ssize_t i = 0; i < n / 2; ++i) peak = std::max(peak, std::abs(int(samples[static_cast<std::size_t>(i)])));
    return peak / 32768.0;
}

IdleFigures Watch(pid_t pid, int seconds, const fs::path& audio) {
    IdleFigures f;
    const auto bytesBefore = fs::file_size(audio);
    const auto wakeBefore = Wakeups(pid);
    const double statBefore = CpuSeconds(pid);
    const auto start = Clock::now();
    double cpu = ThreadsCpuSeconds(pid);
    auto at = start;
    for (int s = 1; s <= seconds; ++s) {
        std::this_thread::sleep_until(start + std::chrono::seconds(s));
        const auto now = Clock::now();
        const double used = ThreadsCpuSeconds(pid);
        f.cpuPercent.push_back(100.0 * (used - cpu) / std::chrono::duration<double>(now - at).count());
        cpu = used;
        at = now;
    }
    const double span = std::chrono::duration<double>(Clock::now() - start).count();
    f.statPercent = 100.0 * (CpuSeconds(pid) - statBefore) / span;
    for (const auto& [thread, after] : Wakeups(pid)) {
        auto before = wakeBefore.find(thread);
        f.wakeupsPerSecond[thread] = double(after - (before == wakeBefore.end() ? 0 : before->second)) / span;
    }
    f.peak = Peak(audio, bytesBefore, fs::file_size(audio));
    return f;
}

// Reads the tap's lines as they come.
class Tap {
public:
    explicit Tap(int fd) : fd_(fd) {}

    // The next line, or nullopt when none came within `limit`.
    std::optional<std::string> line(Clock::duration limit) {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            if (auto end = pending_.find('\n'); end != std::string::npos) {
                std::string l = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return l;
            }
            int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
            pollfd p{fd_, POLLIN, 0};
            if (left <= 0 || poll(&p, 1, left) <= 0) return std::nullopt;
            char buf[65536];
            ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) return std::nullopt;
            pending_.append(buf, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_;
    std::string pending_;
};

// Reads the device's output from a named pipe on a thread, keeping its peak.
class MixListener {
public:
    explicit MixListener(const fs::path& fifo) : fifo_(fifo) {
        thread_ = std::thread([this] {
            int fd = open(fifo_.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) return;
            std::int16_t samples[16384];
            ssize_t n;
            while ((n = read(fd, samples, sizeof samples)) > 0)
                for (ssize_t i = 0; i < n / 2; ++i) {
                    const int level = std::abs(int(samples[i]));
                    peak_ = std::max(peak_, level);
                    if (level >= 32767) ++fullScale_;
                }
            close(fd);
        });
    }
    // Once the game has ended: a reader still waiting for a writer is let go.
    void finish(Memory& m) {
        int fd = open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) close(fd);
        thread_.join();
        m.mixPeak = peak_ / 32768.0;
        m.fullScale = fullScale_;
    }

private:
    fs::path fifo_;
    int peak_ = 0;
    long fullScale_ = 0;
    std::thread thread_;
};

}  // namespace

fs::path TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "veldrisa-bench-XXXXXX").string();
    return mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
}

std::string WaitForWindow() {
    auto out = Output({"xdotool", "search", "--sync", "--onlyvisible", "--name", WindowTitle}, 20s);
    if (!out || out->empty()) return {};
    std::string id = out->substr(0, out->find('\n'));
    Output({"xdotool", "windowfocus", "--sync", id}, 5s);
    return id;
}

void Stop(pid_t pid) {
    // SDL turns SIGTERM into a request to close, which the game obeys.
    kill(pid, SIGTERM);
    Reap(pid, 10s);
}

std::vector<double> StartupMs(const std::string& game, int runs) {
    std::vector<double> figures;
    for (int run = 0; run < runs; ++run) {
        fs::path dir = TemporaryFolder();
        fs::path audio = dir / "audio.raw";
        int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, dir.c_str(), IN_MODIFY);
        const auto start = Clock::now();
        pid_t pid = Spawn({game}, {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", audio.string()}});
        int fd = -1;
        off_t seen = 0;
        std::optional<double> heard;
        while (pid > 0 && !heard) {
            pollfd p{watch, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) break;
            const auto at = Clock::now();
            char events[4096];
            if (read(watch, events, sizeof events) <= 0) break;
            if (fd < 0) fd = open(audio.c_str(), O_RDONLY | O_CLOEXEC);
            std::int16_t samples[8192];
            ssize_t n;
            while ((n = pread(fd, samples, sizeof samples, seen)) > 0) {
                seen += n;
                for (ssize_t i = 0; i < n / 2 && !heard; ++i)
                    if (samples[i] != 0) heard = Ms(at - start);
                if (heard) break;
            }
        }
        if (fd >= 0) close(fd);
        close(watch);
        if (pid > 0) Stop(pid);
        fs::remove_all(dir);
        figures.push_back(heard ? *heard : INFINITY);
    }
    return figures;
}

Idle MeasureIdle(const std::string& game, int seconds) {
    Idle idle;
    fs::path dir = TemporaryFolder();
    fs::path audio = dir / "audio.raw";
    pid_t pid = Spawn({game}, {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", audio.string()}});
    if (pid > 0 && !WaitForWindow().empty() && Keys({"ctrl"})) {
        std::this_thread::sleep_for(1s);
        idle.setup = Watch(pid, seconds, audio);
        if (Keys({"Return"})) {
            std::this_thread::sleep_for(1s);
            Keys({"ctrl"});
            std::this_thread::sleep_for(1s);
            idle.fire = Watch(pid, seconds, audio);
        }
    }
    if (pid > 0) Stop(pid);
    fs::remove_all(dir);
    return idle;
}

Memory MeasureMemory(const std::string& game, const std::string& tap) {
    Memory m;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return m;
    // The write end, without close-on-exec, is what the game inherits.
    int writeEnd = fcntl(fds[1], F_DUPFD, 10);
    close(fds[1]);
    const fs::path dir = TemporaryFolder();
    const fs::path mix = dir / "mix";
    mkfifo(mix.c_str(), 0600);
    MixListener listener(mix);
    const auto start = Clock::now();
    // The disk driver without its delay plays each buffer the moment it is mixed, so that the
    // waits for the end of a message, the morning news above all, are short.
    pid_t pid = Spawn({game}, {{"SDL_AUDIODRIVER", "disk"},
                               {"SDL_DISKAUDIOFILE", mix.string()},
                               {"SDL_DISKAUDIODELAY", "0"},
                               {"LD_PRELOAD", tap},
                               {"VELDRISA_BENCH_TAP_FD", std::to_string(writeEnd)}});
    close(writeEnd);
    Tap lines(fds[0]);
    std::string latest;
    // Waits until espeak-ng has finished the latest text and no other has followed for a moment.
    // The end of the game waits for the last morning news to be heard to its end, hence the
    // long wait for a first text.
    auto settle = [&](bool expectNew) {
        bool open = false, any = false;
        for (;;) {
            auto l = lines.line(open ? 30s : (expectNew && !any ? 90s : 150ms));
            if (!l) return !open && (any || !expectNew);
            if (l->rfind("B ", 0) == 0) {
                const auto text = l->find(' ', 2);
                latest = text == std::string::npos ? std::string() : l->substr(text + 1);
                open = any = true;
                ++m.texts;
            } else if (l->rfind("E ", 0) == 0) {
                open = false;
            }
        }
    };
    if (pid > 0 && !WaitForWindow().empty() && settle(false) && Keys({"ctrl", "Return"}) && settle(true)) {
        while (m.moves < 2000) {
            m.rssMiB.push_back(double(StatusKiB(pid, "VmRSS")) / 1024);
            if (latest.rfind("la partida ha terminado", 0) == 0) {
                m.ended = true;
                break;
            }
            ++m.moves;
            if (!Keys({"ctrl", "space"}) || !settle(true)) break;
        }
        m.peakMiB = double(StatusKiB(pid, "VmHWM")) / 1024;
        m.rssMiB.push_back(m.peakMiB);
    }
    m.lastText = latest;
    m.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    close(fds[0]);
    if (pid > 0) Stop(pid);
    listener.finish(m);
    fs::remove_all(dir);
    return m;
}

}  // namespace veldrisa::bench
