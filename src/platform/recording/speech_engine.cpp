// The recording speech engine.
#include "platform/recording/speech_engine.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace veldrisa {

bool RecordingSpeechEngine::available() {
    return std::any_of(voices_.begin(), voices_.end(), [](const std::string& d) { return !d.empty(); });
}

void RecordingSpeechEngine::createVoice() {
    rate_ = 0;
    voice_ = 0;
    recorder_.record(Event(EventKind::VoiceCreated));
}

void RecordingSpeechEngine::selectVoice(int position) {
    // A real engine fails on a position it does not have; so must this one, or a
    // wrong index would go unnoticed in every test.
    if (position < 0 || position >= static_cast<int>(voices_.size()))
        throw std::out_of_range("no installed voice at position " + std::to_string(position));
    voice_ = position;
    recorder_.record(Event(EventKind::VoiceSelected, {}, position));
}

void RecordingSpeechEngine::setRate(int rate) {
    rate_ = rate;
    recorder_.record(Event(EventKind::RateSet, {}, rate));
}

void RecordingSpeechEngine::speak(std::string text) {
    recorder_.record(Event(EventKind::Spoke, std::move(text)));
}

void RecordingSpeechEngine::stop() { recorder_.record(Event(EventKind::Stopped)); }

void RecordingSpeechEngine::waitUntilDone() { recorder_.record(Event(EventKind::Waited)); }

}  // namespace veldrisa
