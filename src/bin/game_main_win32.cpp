// veldrisa.exe: the game in its Win32 window, heard through SAPI 5 and MCI.
#include <windows.h>
// objbase.h builds on windows.h.
#include <objbase.h>

#include <iostream>

#include "app/local_platform.hpp"
#include "platform/win32/win32_platform.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // SAPI and MCI are asked from this thread alone, the window's.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::cerr << "No se pudo iniciar COM\n";
        MessageBoxW(nullptr, L"No se pudo iniciar COM", L"La fortuna de Veldrisa", MB_OK | MB_ICONERROR);
        return 1;
    }
    int status = 1;
    if (auto platform = veldrisa::MakeWin32Platform()) status = veldrisa::RunGame(*platform);
    CoUninitialize();
    return status;
}
