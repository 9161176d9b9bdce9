// veldrisa-replay: plays the game from key events on standard input, reporting in JSON lines.
#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/recording/process.hpp"
#include "replay/replay.hpp"

int main(int argc, char** argv) {
    veldrisa::UseBinaryStandardStreams();
    std::ios::sync_with_stdio(false);
    // A failed read or write ends the run where it happens: a report cut short, or input read
    // only in part, must not pass for a whole run.
    std::cin.exceptions(std::ios::badbit);
    std::cout.exceptions(std::ios::badbit);
    try {
        return veldrisa::Replay(veldrisa::CommandLineArguments(argc, argv), std::cin, std::cout, std::cerr);
    } catch (const std::exception&) {
        // libstdc++ throws its stream failures under the older ABI's class, caught only here.
        const int error = errno;
        if (!std::cin.bad() && !std::cout.bad()) throw;
        // The streams are flushed again at exit, which must not throw.
        std::cout.exceptions(std::ios::goodbit);
        std::cerr << "veldrisa-replay: cannot " << (std::cin.bad() ? "read the input" : "write the output")
                  << " (" << std::strerror(error) << ")" << std::endl;
        return 1;
    }
}
