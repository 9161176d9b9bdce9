// Room sounds through MCI's mpegvideo device, which plays MP3 and PCM WAV files alike.
#include "platform/win32/mci_sound_player.hpp"

#include <algorithm>
#include <cmath>

#include "platform/recording/process.hpp"
#include "platform/shared/sound_file.hpp"
#include "platform/win32/sound_file.hpp"
#include "platform/win32/warnings.hpp"
#include "platform/win32/wide_text.hpp"

namespace veldrisa {
namespace {

constexpr wchar_t NoticeClass[] = L"VeldrisaSoundNotices";

std::string MciError(MCIERROR error) {
    wchar_t text[256] = L"";
    if (!mciGetErrorStringW(error, text, 256)) return "error MCI " + std::to_string(error);
    std::string message = Utf8FromWide(text);
    while (!message.empty() && (message.back() == '.' || message.back() == ' ')) message.pop_back();
    return message;
}

// Named by its whole path, so that a tester finds the very file; Windows N editions lack the MP3
// decoder, and then every .mp3 is refused here.
void Refused(const std::string& path, const std::string& problem) {
    Warn("no se pudo cargar el sonido \"" + path + "\": " + problem + ". La sala quedará en silencio.");
}

}  // namespace

MciSoundPlayer::MciSoundPlayer(std::string programFolder, Playback playback)
    : folder_(std::move(programFolder)), playback_(playback) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.lpszClassName = NoticeClass;
    RegisterClassExW(&type);
    notices_ = CreateWindowExW(0, NoticeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (notices_) SetWindowLongPtrW(notices_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MciSoundPlayer::~MciSoundPlayer() {
    Close();
    if (notices_) DestroyWindow(notices_);
}

void MciSoundPlayer::Close() {
    playing_ = false;
    if (device_) mciSendCommandW(device_, MCI_CLOSE, MCI_WAIT, 0);
    device_ = 0;
}

void MciSoundPlayer::setFileName(const std::string& name) {
    Close();
    std::string problem;
    auto file = UsableSoundFile(folder_, name, problem);
    if (!file) {
        Refused(SoundPath(folder_, name).value_or(name), problem);
        return;
    }
    MCIDEVICEID device = 0;
    if (const MCIERROR error = OpenSound(*file, device)) {
        Refused(Utf8FromPath(*file), MciError(error));
        return;
    }
    device_ = device;
    setVolume(volume_);
}

MCIERROR OpenSound(const std::filesystem::path& file, MCIDEVICEID& device) {
    const std::wstring path = file.wstring();
    MCI_OPEN_PARMSW open{};
    open.lpstrDeviceType = L"mpegvideo";
    open.lpstrElementName = path.c_str();
    const MCIERROR error = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                           reinterpret_cast<DWORD_PTR>(&open));
    if (!error) device = open.wDeviceID;
    return error;
}

DWORD MciVolume(int percent) {
    if (percent <= 0) return 0;
    if (percent >= 100) return 1000;
    // Heard loudness halves with every 10 dB, and the game's percent is a loudness: each halving
    // of it takes 10 dB off, so that 10 % is still heard and 40 % is plainly softer than 100 %.
    const double decibels = 10.0 * std::log2(percent / 100.0);
    // Never 0, which is silence, for a level the player chose above it.
    return std::max(1L, std::lround(1000.0 * std::pow(10.0, decibels / 20.0)));
}

bool LoopRestarts(bool looping, WPARAM flags, LPARAM device, MCIDEVICEID current) {
    return looping && flags == MCI_NOTIFY_SUCCESSFUL && current &&
           static_cast<MCIDEVICEID>(device) == current;
}

void MciSoundPlayer::setVolume(int percent) {
    volume_ = percent;
    if (!device_) return;
    MCI_DGV_SETAUDIO_PARMSW level{};
    level.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    level.dwValue = MciVolume(percent);
    mciSendCommandW(device_, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&level));
}

bool MciSoundPlayer::Play() {
    MCI_PLAY_PARMS parameters{};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(notices_);
    parameters.dwFrom = 0;
    const auto send = [&](DWORD flags) {
        return mciSendCommandW(device_, MCI_PLAY, MCI_FROM | flags,
                               reinterpret_cast<DWORD_PTR>(&parameters)) == 0;
    };
    if (playback_ == Playback::Once) return send(0);
    // The device repeats the sound itself, with no gap; one that cannot is restarted at each end.
    if (repeats_ && send(MCI_DGV_PLAY_REPEAT)) return true;
    repeats_ = false;
    return send(MCI_NOTIFY);
}

void MciSoundPlayer::play() {
    if (!device_) return;
    playing_ = Play();
}

void MciSoundPlayer::stop() {
    playing_ = false;
    if (device_) mciSendCommandW(device_, MCI_STOP, MCI_WAIT, 0);
}

LRESULT CALLBACK MciSoundPlayer::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<MciSoundPlayer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != MM_MCINOTIFY || !self) return DefWindowProcW(window, message, w, l);
    // A notice of a device since closed, or of a play since stopped, restarts nothing.
    if (LoopRestarts(self->playing_ && self->playback_ == Playback::Loop, w, l, self->device_))
        self->playing_ = self->Play();
    return 0;
}

}  // namespace veldrisa
