// Room sounds and the beep through the shared mixer (SDL's dummy audio driver).
#include <gtest/gtest.h>

#include <SDL2/SDL_mixer.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "platform/sdl/mixer_beeper.hpp"
#include "platform/sdl/mixer_sound_player.hpp"

namespace veldrisa {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

// A mono 16-bit tone of the given length.
void WriteTone(const fs::path& path, double seconds) {
    const int rate = 22050;
    const auto samples = static_cast<std::uint32_t>(rate * seconds);
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    PutLe(out, 36 + samples * 2, 4);
    out << "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);
    PutLe(out, 1, 2);
    PutLe(out, rate, 4);
    PutLe(out, rate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out << "data";
    PutLe(out, samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        PutLe(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.1))), 2);
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio = std::make_unique<AudioOutput>();
        ASSERT_TRUE(audio->open());
        folder = fs::temp_directory_path() / ("veldrisa-sounds-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        WriteTone(folder / "tono.wav", 0.25);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::unique_ptr<AudioOutput> audio;
    fs::path folder;
};

TEST_F(MixerTest, ALoopingRoomPlaysUntilStoppedUnderTheSpeech) {
    MixerSoundPlayer fire(*audio, 1, MixerSoundPlayer::Playback::Loop, folder.string());
    fire.setFileName((folder / "tono.wav").string());
    EXPECT_FALSE(Mix_Playing(0)) << "giving the file does not start it";
    fire.play();
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(Mix_Playing(0)) << "still going, well past the file's end";
    EXPECT_LT(Mix_Volume(0, -1), MIX_MAX_VOLUME / 2) << "room sounds sit under the speech";
    fire.stop();
    EXPECT_FALSE(Mix_Playing(0));
    fire.play();
    EXPECT_TRUE(Mix_Playing(0)) << "playable again after a stop";
}

TEST_F(MixerTest, TheGlassBreaksOnce) {
    MixerSoundPlayer glass(*audio, 2, MixerSoundPlayer::Playback::Once, folder.string());
    glass.setFileName((folder / "tono.wav").string());
    glass.play();
    EXPECT_TRUE(Mix_Playing(1));
    std::this_thread::sleep_for(600ms);
    EXPECT_FALSE(Mix_Playing(1));
}

TEST_F(MixerTest, SoundsComeFromTheProgramFolderAloneNeverFromTheCurrentDirectory) {
    const fs::path elsewhere = folder / "elsewhere";
    fs::create_directory(elsewhere);
    fs::copy_file(folder / "tono.wav", elsewhere / "Pasar páginas.wav");
    fs::copy_file(folder / "tono.wav", elsewhere / "Ronquido.wav");
    auto previous = fs::current_path();
    fs::current_path(elsewhere);
    MixerSoundPlayer pages(*audio, 3, MixerSoundPlayer::Playback::Loop, folder.string());
    ::testing::internal::CaptureStderr();
    pages.setFileName("Pasar páginas.wav");
    pages.play();
    EXPECT_FALSE(Mix_Playing(2)) << "not in the program's folder";
    pages.setFileName((elsewhere / "Ronquido.wav").string());
    pages.play();
    EXPECT_FALSE(Mix_Playing(2)) << "a full path elsewhere is looked up in the program's folder too";
    const std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("\"" + (folder / "Pasar páginas.wav").string() + "\" (no existe)"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("\"" + (folder / "Ronquido.wav").string() + "\" (no existe)"), std::string::npos) << warnings;

    fs::copy_file(folder / "tono.wav", folder / "Pasar páginas.wav");
    pages.setFileName("Pasar páginas.wav");
    fs::current_path(previous);
    pages.play();
    EXPECT_TRUE(Mix_Playing(2)) << "a bare name is found in the program's folder";
    pages.stop();

    // Without a known program folder every room is silent, and the player is told once.
    MixerSoundPlayer fire(*audio, 1, MixerSoundPlayer::Playback::Loop, "");
    MixerSoundPlayer glass(*audio, 2, MixerSoundPlayer::Playback::Once, "");
    ::testing::internal::CaptureStderr();
    fire.setFileName((folder / "tono.wav").string());
    glass.setFileName("tono.wav");
    fire.play();
    glass.play();
    const std::string unknown = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(Mix_Playing(0));
    EXPECT_FALSE(Mix_Playing(1));
    EXPECT_EQ(unknown, "Aviso: no se sabe en qué carpeta está el juego; las salas quedarán en silencio.\n");
}

// A file that is not a regular one, or too large to be a room sound, is refused before a byte
// is read: a pipe with no writer would block the game at Enter for good, a device or a huge
// file would be read into memory without end.
TEST_F(MixerTest, PipesDevicesAndHugeFilesAreRefusedUnread) {
    ASSERT_EQ(::mkfifo((folder / "fuego.wav").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder / "cero.wav");
    {
        // A WAV header promising 40 MiB of silence, and the silence, without using the disk.
        std::ofstream out(folder / "enorme.wav", std::ios::binary);
        const std::uint32_t bytes = 40u << 20;
        out << "RIFF";
        PutLe(out, 36 + bytes, 4);
        out << "WAVEfmt ";
        const std::pair<std::uint32_t, int> format[] = {{16, 4}, {1, 2}, {1, 2}, {22050, 4}, {44100, 4}, {2, 2}, {16, 2}};
        for (auto [value, size] : format) PutLe(out, value, size);
        out << "data";
        PutLe(out, bytes, 4);
    }
    fs::resize_file(folder / "enorme.wav", 44 + (40u << 20));
    const std::pair<const char*, std::string> refused[] = {
        {"fuego.wav", "no es un archivo normal"},
        {"cero.wav", "no es un archivo normal"},
        {"carpeta.wav", "no es un archivo normal"},
        {"enorme.wav", "ocupa 40 MB; un sonido puede ocupar 32 MB como mucho"},
    };
    fs::create_directory(folder / "carpeta.wav");
    for (const auto& [name, reason] : refused) {
        SCOPED_TRACE(name);
        MixerSoundPlayer room(*audio, 1, MixerSoundPlayer::Playback::Loop, folder.string());
        ::testing::internal::CaptureStderr();
        std::atomic<bool> done = false;
        std::thread loader([&] {
            room.setFileName((folder / name).string());
            done = true;
        });
        for (int i = 0; i < 300 && !done; ++i) std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(done) << "still blocked after 3 s";
        // A writer frees a reader stuck on the pipe, so that a failure ends.
        if (!done) ::close(::open((folder / name).c_str(), O_WRONLY | O_NONBLOCK));
        loader.join();
        room.play();
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(Mix_Playing(0));
        EXPECT_EQ(warnings, "Aviso: no se pudo cargar el sonido \"" + (folder / name).string() + "\" (" + reason +
                                "); esa sala quedará en silencio.\n");
    }
}

long PeakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// An hour of 8 kHz 8-bit mono: 28 MB on disk, within the file limit.
void WriteLongQuietWave(const fs::path& path) {
    const std::uint32_t rate = 8000, bytes = 3600 * rate;
    {
        std::ofstream out(path, std::ios::binary);
        out << "RIFF";
        PutLe(out, 36 + bytes, 4);
        out << "WAVEfmt ";
        const std::pair<std::uint32_t, int> format[] = {{16, 4},   {1, 2}, {1, 2}, {rate, 4},
                                                        {rate, 4}, {1, 2}, {8, 2}};
        for (auto [value, size] : format) PutLe(out, value, size);
        out << "data";
        PutLe(out, bytes, 4);
    }
    fs::resize_file(path, 44 + bytes);
}

// Small files that decode to hundreds of megabytes for a 44.1 kHz stereo device (eight hours of
// Ogg took the game past 4 GiB and down): the hour of WAV and, where sox can write one, seven
// minutes of Ogg Vorbis (under a megabyte), whose length only the decoder knows.
TEST_F(MixerTest, ASoundTooLongOnceDecodedIsRefusedBeforeItIsDecoded) {
    WriteLongQuietWave(folder / "Ronquido.mp3");
    const std::string ogg = (folder / "Pasar páginas.ogg").string();
    const bool withOgg =
        std::system(("sox -n -r 8000 -c 1 '" + ogg + "' trim 0 420 2>/dev/null").c_str()) == 0;
    const std::pair<const char*, const char*> refused[] = {{"Ronquido.mp3", "dura 60 min 0 s"},
                                                           {"Pasar páginas.ogg", "dura 7 min 0 s"}};
    for (const auto& [name, length] : refused) {
        SCOPED_TRACE(name);
        if (!withOgg && std::string(name).ends_with(".ogg")) continue;
        const long before = PeakResidentKiB();
        const auto start = std::chrono::steady_clock::now();
        MixerSoundPlayer snoring(*audio, 4, MixerSoundPlayer::Playback::Loop, folder.string());
        ::testing::internal::CaptureStderr();
        snoring.setFileName(name);
        snoring.play();
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
        EXPECT_LT(PeakResidentKiB() - before, 16 << 10) << "KiB more at the peak";
        EXPECT_FALSE(Mix_Playing(3));
        EXPECT_EQ(warnings,
                  "Aviso: no se pudo cargar el sonido \"" + (folder / name).string() + "\" (" + length +
                      "; un sonido puede durar 6 min 20 s como mucho); esa sala quedará en silencio.\n");
    }
}

TEST_F(MixerTest, AMissingFileIsNamedOnceAndLeavesTheRoomSilent) {
    MixerSoundPlayer snoring(*audio, 4, MixerSoundPlayer::Playback::Loop, folder.string());
    ::testing::internal::CaptureStderr();
    snoring.setFileName("No está aquí.mp3");
    snoring.play();
    // Every new game gives the players their files again.
    snoring.setFileName((folder / "tono.wav").string());
    snoring.setFileName("No está aquí.mp3");
    snoring.play();
    std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(Mix_Playing(3));
    EXPECT_NE(warnings.find("No está aquí.mp3"), std::string::npos) << warnings;
    EXPECT_EQ(warnings.find("No está aquí.mp3"), warnings.rfind("No está aquí.mp3")) << warnings;
    snoring.stop();
}

TEST_F(MixerTest, ABrokenFileIsNamedOnceWithItsReasonAndTheRoomStaysSilent) {
    std::string noise;
    std::uint32_t x = 1;
    for (int i = 0; i < 65536; ++i) noise += static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    auto write = [&](const char* name, const std::string& bytes) { std::ofstream(folder / name, std::ios::binary) << bytes; };
    write("ruido.wav", noise);
    write("ruido.mp3", noise);
    write("vacío.wav", "");
    // A header that promises a second of sound and a format with no channels, then stops.
    write("cabecera.wav", std::string("RIFF\xff\xff\x00\x00WAVEfmt \x10\0\0\0\x01\0\0\0\x22\x56\0\0\0\0\0\0\0\0\x10\0data", 40));
    const std::pair<const char*, const char*> broken[] = {
        {"ruido.wav", nullptr},         {"ruido.mp3", nullptr}, {"vacío.wav", nullptr},
        {"cabecera.wav", nullptr},
        {"no-existe.wav", "(no existe)"},
    };
    for (const auto& [name, reason] : broken) {
        SCOPED_TRACE(name);
        const std::string path = (folder / name).string();
        MixerSoundPlayer room(*audio, 1, MixerSoundPlayer::Playback::Loop, folder.string());
        ::testing::internal::CaptureStderr();
        room.setFileName(path);
        room.play();
        const std::string warnings = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(Mix_Playing(0));
        EXPECT_EQ(warnings.rfind("Aviso: no se pudo cargar el sonido \"" + path + "\"", 0), 0u) << warnings;
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 1) << warnings;
        if (reason) {
            EXPECT_NE(warnings.find(reason), std::string::npos) << warnings;
        }
    }
}

TEST_F(MixerTest, TheGamesOwnSoundsLoad) {
    // The build copies the room sounds beside the executables, one folder above the tests.
    char* base = SDL_GetBasePath();
    fs::path beside = fs::path(base).parent_path().parent_path();
    SDL_free(base);
    const char* names[] = {"fuego.wav", "Vaso rompiéndose.mp3", "Pasar páginas.mp3", "Ronquido.mp3"};
    if (!fs::exists(beside / names[0])) GTEST_SKIP() << "no room sounds in " << beside;
    for (int room = 1; room <= 4; ++room) {
        SCOPED_TRACE(names[room - 1]);
        MixerSoundPlayer player(*audio, room, MixerSoundPlayer::Playback::Once, beside.string());
        ::testing::internal::CaptureStderr();
        player.setFileName((beside / names[room - 1]).string());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        player.play();
        EXPECT_TRUE(Mix_Playing(room - 1));
    }
}

// The game's value is SDL's alone: the voice's own stream, opened afterwards, asks for its own buffer.
TEST(AudioOutput, AsksPulseAudioForItsBufferUnlessThePlayerChoseOne) {
    unsetenv("PULSE_LATENCY_MSEC");
    {
        AudioOutput audio;
        EXPECT_EQ(audio.serverLatency(), AudioOutput::ServerLatencyMs);
        EXPECT_EQ(std::getenv("PULSE_LATENCY_MSEC"), nullptr);
    }
    {
        AudioOutput roomsAndBeeps(true);
        EXPECT_EQ(roomsAndBeeps.serverLatency(), AudioOutput::MixOnlyServerLatencyMs);
        EXPECT_EQ(std::getenv("PULSE_LATENCY_MSEC"), nullptr);
    }
    setenv("PULSE_LATENCY_MSEC", "40", 1);
    {
        AudioOutput audio;
        EXPECT_EQ(audio.serverLatency(), "40");
        EXPECT_STREQ(std::getenv("PULSE_LATENCY_MSEC"), "40");
    }
    unsetenv("PULSE_LATENCY_MSEC");
}

// libpulse takes "abc", "0" or "-1" for no setting (a clicking 3 ms) and "99999999" for 30 s.
TEST(AudioOutput, APlayersLatencyIsKeptOnlyWhenItIsAWholeNumberOfMillisecondsInRange) {
    for (const char* kept : {"1", "6", "040", "200"}) {
        setenv("PULSE_LATENCY_MSEC", kept, 1);
        ::testing::internal::CaptureStderr();
        AudioOutput audio;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(audio.serverLatency(), kept);
    }
    for (const char* refused : {"abc", "0", "-1", "99999999", "201", "", " 6", "6 ", "6ms", "+6", "1e2", "6.5",
                                "18446744073709551617"}) {
        SCOPED_TRACE(refused);
        setenv("PULSE_LATENCY_MSEC", refused, 1);
        ::testing::internal::CaptureStderr();
        AudioOutput audio;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string("Aviso: PULSE_LATENCY_MSEC=\"") + refused +
                      "\" no es un número entero de milisegundos entre 1 y 200; se usan 12 ms.\n");
        EXPECT_EQ(audio.serverLatency(), AudioOutput::ServerLatencyMs);
    }
    unsetenv("PULSE_LATENCY_MSEC");
}

TEST_F(MixerTest, TheBeepIsShort) {
    MixerBeeper beeper(*audio);
    beeper.beep();
    EXPECT_TRUE(Mix_Playing(AudioOutput::BeepChannel));
    std::this_thread::sleep_for(400ms);
    EXPECT_FALSE(Mix_Playing(AudioOutput::BeepChannel));
}

}  // namespace
}  // namespace veldrisa
