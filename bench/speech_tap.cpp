// Preloaded into the real game: writes each text it gives espeak-ng, and the end of its synthesis, to a pipe.
#include <dlfcn.h>
#include <espeak-ng/speak_lib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

using Synth = espeak_ERROR (*)(const void*, size_t, unsigned int, espeak_POSITION_TYPE, unsigned int, unsigned int,
                               unsigned int*, void*);

void Send(const std::string& line) {
    static const int fd = [] {
        const char* value = std::getenv("VELDRISA_BENCH_TAP_FD");
        return value ? std::atoi(value) : -1;
    }();
    if (fd < 0) return;
    for (std::size_t done = 0; done < line.size();) {
        ssize_t n = write(fd, line.data() + done, line.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

// One line per event: "B <text>" when synthesis begins, "E" when espeak_Synth returns.
extern "C" espeak_ERROR espeak_Synth(const void* text, size_t size, unsigned int position,
                                     espeak_POSITION_TYPE position_type, unsigned int end_position,
                                     unsigned int flags, unsigned int* unique_identifier, void* user_data) {
    static const auto real = reinterpret_cast<Synth>(dlsym(RTLD_NEXT, "espeak_Synth"));
    std::string line = "B ";
    for (const char* c = static_cast<const char*>(text); *c; ++c) line += (*c == '\n' || *c == '\r') ? ' ' : *c;
    Send(line + "\n");
    espeak_ERROR result = real(text, size, position, position_type, end_position, flags, unique_identifier, user_data);
    Send("E\n");
    return result;
}
