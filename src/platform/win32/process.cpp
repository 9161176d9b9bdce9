// The running program on Windows: its file and its UTF-16 command line, standard streams in binary mode.
#include "platform/recording/process.hpp"

#include <windows.h>
// windows.h first: the others build on it.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/win32/wide_text.hpp"

namespace veldrisa {

std::filesystem::path ExecutableFile() {
    // Paths may be longer than MAX_PATH; the buffer grows until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

// argv arrives in the ANSI code page, which cannot hold every name; the UTF-16 command line can.
std::vector<std::string> CommandLineArguments(int, char**) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    if (!arguments) return result;
    for (int i = 1; i < count; ++i) result.push_back(Utf8FromWide(arguments[i]));
    LocalFree(arguments);
    return result;
}

void UseBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace veldrisa
