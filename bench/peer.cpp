// The espeak-ng program speaking the same messages to its standard output, and what it says of our openings.
#include "peer.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>

#include "platform/shared/valid_utf8.hpp"
#include "process.hpp"

namespace veldrisa::bench {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t WavHeader = 44;
// The opening is compared by its loudness in blocks of this many of the device's frames
// (2.5 ms at 44.1 kHz): espeak-ng's waveforms differ a little from one synthesis of a text to
// the next (its pitch flutter goes on from the previous text), its syllables do not move.
constexpr std::size_t BlockFrames = 110;
// The first 40 ms of sound, where the two differ least, are lined up; shifts of up to 30 ms are tried.
constexpr int ComparedBlocks = 16;
constexpr int MaxShift = 12;
// Mean loudness below which a block is taken for silence.
constexpr double Audible = 16;

struct Spoken {
    double firstByteMs = -1;
    std::vector<std::int16_t> samples;
    int rate = 0;
};

Spoken RunPeer(const std::string& text) {
    Spoken s;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return s;
    const auto start = Clock::now();
    pid_t pid = Spawn({"espeak-ng", "-v", "es", "--punct", "--stdout", text}, {}, fds[1]);
    close(fds[1]);
    std::string wav;
    char buf[65536];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) {
        wav.append(buf, static_cast<std::size_t>(n));
        if (s.firstByteMs < 0 && wav.size() > WavHeader) s.firstByteMs = Ms(Clock::now() - start);
    }
    close(fds[0]);
    if (pid < 0 || Reap(pid, 30s) != 0 || wav.size() <= WavHeader || wav.compare(0, 4, "RIFF") != 0) {
        s.firstByteMs = -1;
        return s;
    }
    std::memcpy(&s.rate, wav.data() + 24, sizeof s.rate);
    s.samples.resize((wav.size() - WavHeader) / 2);
    std::memcpy(s.samples.data(), wav.data() + WavHeader, s.samples.size() * 2);
    return s;
}

// Mean absolute amplitude per block of 16-bit frames.
std::vector<double> Loudness(const std::int16_t* samples, std::size_t frames, int channels) {
    std::vector<double> blocks(frames / BlockFrames);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        double sum = 0;
        for (std::size_t i = b * BlockFrames * channels; i < (b + 1) * BlockFrames * channels; ++i)
            sum += std::abs(int(samples[i]));
        blocks[b] = sum / double(BlockFrames * channels);
    }
    return blocks;
}

// The shift, in blocks, that best lines `ours` up with `theirs` from the first sound of ours
// on, by the mean distance of their loudness on a logarithmic scale so that quiet blocks count
// as much as loud ones. Smaller shifts win ties.
int BestShift(const std::vector<double>& ours, const std::vector<double>& theirs) {
    int onset = 0;
    while (onset < int(ours.size()) && ours[std::size_t(onset)] < Audible) ++onset;
    int best = 0;
    double bestDistance = INFINITY;
    for (int step = 0; step <= 2 * MaxShift; ++step) {
        const int shift = step % 2 ? -(step + 1) / 2 : step / 2;
        double distance = 0;
        int counted = 0;
        for (int i = std::max(onset, -shift); i < onset + ComparedBlocks && i < int(ours.size()); ++i) {
            if (i + shift >= int(theirs.size())) break;
            distance += std::fabs(std::log((ours[std::size_t(i)] + Audible) /
                                           (theirs[std::size_t(i + shift)] + Audible)));
            ++counted;
        }
        if (counted == 0) continue;
        distance /= counted;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = shift;
        }
    }
    return best;
}

}  // namespace

PeerFigures MeasurePeer(const std::vector<Opening>& openings, int frequency, SDL_AudioFormat format, int channels) {
    PeerFigures f;
    std::map<std::string, Spoken> spoken;
    for (const auto& o : openings) {
        if (o.voice != 0 || o.rate != 0 || o.bytes.empty()) continue;
        const std::string text = ValidUtf8(o.text) + " ";
        auto it = spoken.find(text);
        if (it == spoken.end()) {
            it = spoken.emplace(text, RunPeer(text)).first;
            if (it->second.firstByteMs >= 0) f.firstByteMs.push_back(it->second.firstByteMs);
        }
        const Spoken& s = it->second;
        if (s.samples.empty()) continue;
        // Their audio in the device's format, converted as the engine converts.
        const double ratio = double(frequency) / s.rate;
        std::vector<Uint8> theirs((std::size_t(double(s.samples.size()) * ratio) + 64) * 2 * std::size_t(channels));
        SDL_AudioStream* stream =
            SDL_NewAudioStream(AUDIO_S16SYS, 1, s.rate, format, static_cast<Uint8>(channels), frequency);
        if (!stream) continue;
        SDL_AudioStreamPut(stream, s.samples.data(), static_cast<int>(s.samples.size() * 2));
        SDL_AudioStreamFlush(stream);
        int got = SDL_AudioStreamGet(stream, theirs.data(), static_cast<int>(theirs.size()));
        SDL_FreeAudioStream(stream);
        ++f.compared;
        const std::size_t frameBytes = 2 * std::size_t(channels);
        auto ours = Loudness(reinterpret_cast<const std::int16_t*>(o.bytes.data()), o.bytes.size() / frameBytes,
                             channels);
        auto reference = Loudness(reinterpret_cast<const std::int16_t*>(theirs.data()),
                                  std::size_t(std::max(got, 0)) / frameBytes, channels);
        const bool clipped = BestShift(ours, reference) != 0;
        f.clippedPerOpening.push_back(clipped ? 1 : 0);
        if (clipped) {
            ++f.clipped;
            f.clippedTexts.push_back(o.text);
        }
    }
    return f;
}

}  // namespace veldrisa::bench
