// veldrisa.exe: the game in its Win32 window, heard through SAPI 5 and MCI; the online tables
// through WinHTTP.
#include <windows.h>
// objbase.h builds on windows.h.
#include <objbase.h>

#include <iostream>

#include "app/local_platform.hpp"
#include "platform/recording/process.hpp"
#include "platform/win32/wide_text.hpp"
#include "platform/win32/win32_platform.hpp"
#include "platform/win32/winhttp_connection.hpp"

namespace {

// %APPDATA%\veldrisa; empty when Windows does not say where that is.
std::string ConfigFile() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData) return {};
    return veldrisa::Utf8FromWide(appData) + "\\veldrisa\\" + veldrisa::ArchivoHuellas;
}

void Fails(const char* message) {
    std::cerr << message << '\n';
    MessageBoxW(nullptr, veldrisa::WideFromUtf8(message).c_str(), L"La fortuna de Veldrisa",
                MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto servidor = veldrisa::ServidorDeArgumentos(veldrisa::CommandLineArguments(0, nullptr));
    if (!servidor) {
        Fails(veldrisa::UsoDelPrograma);
        return 2;
    }
    // SAPI and MCI are asked from this thread alone, the window's.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        Fails("No se pudo iniciar COM");
        return 1;
    }
    int status = 1;
    if (auto platform = veldrisa::MakeWin32Platform()) {
        auto conexion = veldrisa::MakeWinHttpConnection([&platform] { platform->window().wake(); });
        status = veldrisa::RunGame(*platform, conexion.get(), {*servidor, ConfigFile()});
    }
    CoUninitialize();
    return status;
}
