// The running program on Linux: its file from /proc, its arguments and streams as they come.
#include "platform/recording/process.hpp"

#include <system_error>

namespace veldrisa {

std::filesystem::path ExecutableFile() {
    std::error_code error;
    auto file = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : file;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void UseBinaryStandardStreams() {}

}  // namespace veldrisa
