// altgr-input.exe: types AltGr+2 (@ on a Spanish keyboard) into the focused window as Windows
// delivers it: a left Control and a right Alt going down at the same instant, then the key. Wine's
// own AltGr comes without the Control, so the window's check sends this instead.
#include <windows.h>

namespace {

INPUT Key(WORD virtualKey, WORD scanCode, DWORD flags, DWORD time) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = flags;
    input.ki.time = time;
    return input;
}

}  // namespace

int main() {
    const DWORD now = GetTickCount();
    INPUT keys[] = {
        Key(VK_LCONTROL, 0x1D, 0, now),
        Key(VK_RMENU, 0x38, KEYEVENTF_EXTENDEDKEY, now),
        Key('2', 0x03, 0, now + 20),
        Key('2', 0x03, KEYEVENTF_KEYUP, now + 40),
        Key(VK_RMENU, 0x38, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, now + 60),
        Key(VK_LCONTROL, 0x1D, KEYEVENTF_KEYUP, now + 60),
    };
    const UINT count = sizeof keys / sizeof keys[0];
    return SendInput(count, keys, sizeof(INPUT)) == count ? 0 : 1;
}
