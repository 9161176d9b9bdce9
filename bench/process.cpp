// Starting other programs and reading what /proc says of them.
#include "process.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>

#include <cstring>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace veldrisa::bench {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env, int out) {
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e) {
        std::string entry(*e);
        if (!env.count(entry.substr(0, entry.find('=')))) entries.push_back(entry);
    }
    for (const auto& [name, value] : env) entries.push_back(name + "=" + value);
    std::vector<char*> envp, args;
    for (auto& e : entries) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> copy = argv;
    for (auto& a : copy) args.push_back(a.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int Reap(pid_t pid, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0) return -1;
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::optional<std::string> Output(const std::vector<std::string>& argv, Clock::duration limit,
                                  const std::map<std::string, std::string>& env) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
    pid_t pid = Spawn(argv, env, pipeFds[1]);
    close(pipeFds[1]);
    // The limit holds for the output too: a program that never ends (xdotool's --sync search for a
    // window that never comes) would otherwise hold the reader for ever.
    const auto deadline = Clock::now() + limit;
    std::string text;
    char buf[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{pipeFds[0], POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
        const ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    if (pid < 0 || Reap(pid, std::max<Clock::duration>(deadline - Clock::now(), Clock::duration::zero())) != 0)
        return std::nullopt;
    return text;
}

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Threads(pid_t pid) {
    std::vector<std::string> tids;
    std::string dir = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') tids.push_back(dir + "/" + e->d_name);
        closedir(d);
    }
    return tids;
}

}  // namespace

double CpuSeconds(pid_t pid) {
    std::string stat = Slurp("/proc/" + std::to_string(pid) + "/stat");
    // The command name may hold spaces; the fields count from the parenthesis that closes it.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ThreadsCpuSeconds(pid_t pid) {
    double ns = 0;
    for (const auto& t : Threads(pid)) {
        std::istringstream s(Slurp(t + "/schedstat"));
        double run = 0;
        if (s >> run) ns += run;
    }
    return ns / 1e9;
}

std::map<std::string, long> Wakeups(pid_t pid) {
    std::map<std::string, long> byName;
    for (const auto& t : Threads(pid)) {
        std::string tid = t.substr(t.rfind('/') + 1);
        std::string name = Slurp(t + "/comm");
        while (!name.empty() && name.back() == '\n') name.pop_back();
        name = tid == std::to_string(pid) ? "main" : name + " " + tid;
        std::istringstream s(Slurp(t + "/status"));
        std::string line;
        while (std::getline(s, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) byName[name] += std::stol(line.substr(24));
    }
    return byName;
}

long StatusKiB(pid_t pid, const std::string& field) {
    std::istringstream s(Slurp("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(s, line))
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

}  // namespace veldrisa::bench
