// The warnings log under the user's local application data, written line by line as it grows.
#include "platform/win32/warnings.hpp"

#include <windows.h>
// These build on windows.h.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <fstream>
#include <iostream>
#include <set>

#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

struct Log {
    std::ofstream file;
    bool tried = false;
    std::set<std::string> written;
};

Log& TheLog() {
    static Log log;
    return log;
}

std::filesystem::path LocalAppData() {
    if (const wchar_t* named = _wgetenv(L"LOCALAPPDATA"); named && *named) return named;
    PWSTR known = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known))) folder = known;
    CoTaskMemFree(known);
    return folder;
}

// The log is opened at its first line, unless the run began by emptying it.
void Open(std::ios::openmode mode) {
    Log& log = TheLog();
    log.tried = true;
    const auto file = WarningsFile();
    if (file.empty()) return;
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    log.file.open(file, std::ios::binary | mode);
    if (!log.file)
        std::cerr << "Aviso: no se pudo escribir el registro de avisos " << Utf8FromWide(file.wstring())
                  << ".\n";
}

}  // namespace

std::filesystem::path WarningsFile() {
    const auto folder = LocalAppData();
    if (folder.empty()) return {};
    return folder / L"Veldrisa" / L"avisos.txt";
}

void StartWarnings() {
    Log& log = TheLog();
    log.file.close();
    log.written.clear();
    Open(std::ios::trunc);
}

void Warn(const std::string& text) {
    Log& log = TheLog();
    if (!log.written.insert(text).second) return;
    std::cerr << "Aviso: " << text << "\n";
    if (!log.tried) Open(std::ios::app);
    if (log.file) log.file << "Aviso: " << text << "\r\n" << std::flush;
}

}  // namespace veldrisa
