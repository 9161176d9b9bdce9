// One of each recording stand-in, all writing to one recorder, and the Platform over them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/recording/beeper.hpp"
#include "platform/recording/clock.hpp"
#include "platform/recording/event.hpp"
#include "platform/recording/folders.hpp"
#include "platform/recording/observer.hpp"
#include "platform/recording/sound_player.hpp"
#include "platform/recording/speech_engine.hpp"

namespace veldrisa {

struct RecordingOptions {
    std::vector<std::string> voices = RecordingSpeechEngine::DefaultVoices;
    // The first seed; none reads the real clock.
    std::optional<std::uint32_t> seed = 1;
};

// Not copyable or movable: the Platform holds references into it.
struct RecordingPlatform {
    explicit RecordingPlatform(const RecordingOptions& options = {})
        : speech(recorder, options.voices), clock(recorder, options.seed) {}
    RecordingPlatform(const RecordingPlatform&) = delete;
    RecordingPlatform& operator=(const RecordingPlatform&) = delete;

    Recorder recorder;
    RecordingSpeechEngine speech;
    RecordingSoundPlayer sound1{recorder, 1}, sound2{recorder, 2}, sound3{recorder, 3}, sound4{recorder, 4};
    RecordingBeeper beeper{recorder};
    FixedClock clock;
    ExecutableFolders folders{recorder};
    RecordingObserver observer{recorder};
    Platform platform{speech, {&sound1, &sound2, &sound3, &sound4}, beeper, clock, folders, &observer};
};

}  // namespace veldrisa
