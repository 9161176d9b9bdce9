// Room sounds through MCI's mpegvideo device, which plays MP3 and PCM WAV files alike.
#include "platform/win32/mci_sound_player.hpp"

#include <iostream>

#include "platform/recording/process.hpp"
#include "platform/win32/sound_file.hpp"
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
        std::cerr << "Aviso: no se pudo cargar el sonido \"" << name << "\": " << problem
                  << ". La sala quedará en silencio.\n";
        return;
    }
    MCIDEVICEID device = 0;
    if (const MCIERROR error = OpenSound(*file, device)) {
        std::cerr << "Aviso: no se pudo cargar el sonido \"" << Utf8FromPath(*file)
                  << "\": " << MciError(error) << ". La sala quedará en silencio.\n";
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

void MciSoundPlayer::setVolume(int percent) {
    volume_ = percent;
    if (!device_) return;
    MCI_DGV_SETAUDIO_PARMSW level{};
    level.dwItem = MCI_DGV_SETAUDIO_VOLUME;
    // MCI's scale: 1000 is the file's own loudness.
    level.dwValue = static_cast<DWORD>(percent * 10);
    mciSendCommandW(device_, MCI_SETAUDIO, MCI_DGV_SETAUDIO_ITEM | MCI_DGV_SETAUDIO_VALUE | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&level));
}

bool MciSoundPlayer::Play() {
    MCI_PLAY_PARMS parameters{};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(notices_);
    parameters.dwFrom = 0;
    return mciSendCommandW(device_, MCI_PLAY, MCI_FROM | MCI_NOTIFY,
                           reinterpret_cast<DWORD_PTR>(&parameters)) == 0;
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
    // A loop starts again when its sound has played to the end; a stop or a new start supersedes.
    if (message == MM_MCINOTIFY && self && w == MCI_NOTIFY_SUCCESSFUL) {
        if (self->playing_ && self->playback_ == Playback::Loop)
            self->playing_ = self->Play();
        else
            self->playing_ = false;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

}  // namespace veldrisa
