// A private PulseAudio server with a null sink, and a capture of that sink's monitor with timestamps.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "process.hpp"

namespace veldrisa::bench {

// Started in a folder of its own, reachable only through its socket, stopped (and the folder
// removed) by the destructor: nothing is left running.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool running() const { return pid_ > 0; }
    // What a client needs in its environment to play through this server and no other.
    const std::map<std::string, std::string>& environment() const { return environment_; }
    // The null sink's latency as the server has configured it for its current clients, in ms.
    std::optional<double> sinkLatencyMs() const;
    // Underruns in the server's log so far: a client whose stream ran dry, answering late. Those of
    // the stream of this name alone, or of every stream.
    int underruns(const std::string& stream = "") const;
    // Playback streams' names as the server knows them, with their configured latency in ms.
    std::string describeStreams() const;

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    std::map<std::string, std::string> environment_;
};

// Records the sink's monitor on a thread of its own, small fragments at a time; each sample
// gets the time it reached this process, less its distance from the fragment's end.
class MonitorCapture {
public:
    explicit MonitorCapture(const SoundServer& server);
    ~MonitorCapture();
    MonitorCapture(const MonitorCapture&) = delete;
    MonitorCapture& operator=(const MonitorCapture&) = delete;

    bool running() const { return running_; }
    // Above this a sample is audible (about -54 dBFS); the game's silence is exactly zero.
    static constexpr int Audible = 64;

    // The first audible sample captured at or after `from`, if any so far.
    std::optional<Clock::time_point> firstAudible(Clock::time_point from) const;
    // The end of the last audible sample captured before `to`, if any after `from`.
    std::optional<Clock::time_point> lastAudible(Clock::time_point from, Clock::time_point to) const;
    // How long the capture has been silent up to its latest sample.
    Clock::duration silentFor() const;
    // Gaps in sound between `from` and `to`: silence, exact to the sample, of 8 frames to 10 ms,
    // cut into sound that is clearly audible right up to it on both sides. Speech never falls
    // silent that way; a stream the server found dry does. Also how long a span was examined.
    struct Dropouts {
        int gaps = 0;
        double seconds = 0;
    };
    Dropouts dropouts(Clock::time_point from, Clock::time_point to) const;
    // Largest absolute sample from `from` on, 0..1, and how many samples reached full scale.
    double peak(Clock::time_point from, int* fullScale = nullptr) const;

private:
    void Run();
    Clock::time_point TimeOf(std::size_t frame) const;
    // The frames up to the end of the fragment that reached us at `t` or just after it.
    std::size_t FramesUpTo(Clock::time_point t) const;

    const SoundServer& server_;
    std::atomic<bool> running_{false}, stop_{false};
    mutable std::mutex mutex_;
    // Per frame, the larger of its two channels' absolute values.
    std::vector<std::uint16_t> levels_;
    // The time of the frame that ended each fragment, with its index.
    std::vector<std::pair<std::size_t, Clock::time_point>> stamps_;
    std::thread thread_;
};

}  // namespace veldrisa::bench
