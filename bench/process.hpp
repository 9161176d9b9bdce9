// Starting other programs and reading what /proc says of them.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace veldrisa::bench {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d);

// Starts a program (looked up in PATH) with this process's environment plus `env`; its
// standard output goes to `out` (or /dev/null when -1), its standard error to /dev/null.
// Descriptors without close-on-exec are inherited. -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {}, int out = -1);

// Waits for the child, at most `limit`; it is killed past that. Its exit status, or -1.
int Reap(pid_t pid, Clock::duration limit);

// Runs a program to its end and returns its standard output; nullopt when it failed or took
// longer than `limit`.
std::optional<std::string> Output(const std::vector<std::string>& argv, Clock::duration limit,
                                  const std::map<std::string, std::string>& env = {});

// CPU time used so far by the process, from utime + stime in /proc/PID/stat, in seconds.
double CpuSeconds(pid_t pid);
// CPU time of all its threads, from their schedstat, in seconds: finer than the above.
double ThreadsCpuSeconds(pid_t pid);
// Voluntary context switches per thread ("main", or its name and id): each is one wake-up from a wait.
std::map<std::string, long> Wakeups(pid_t pid);
// A field of /proc/PID/status in KiB (VmHWM, VmRSS), -1 when missing.
long StatusKiB(pid_t pid, const std::string& field);

}  // namespace veldrisa::bench
