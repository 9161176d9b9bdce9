// The events the recording stand-ins write down, in the order they happen.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace veldrisa {

enum class EventKind {
    Said,           // Habla was called: text (caller's case), before, after
    Screen,         // a window is about to load: text is "setup" or "game"
    Spoke,          // the engine was asked to speak text
    Stopped,        // the engine was asked to fall silent
    Waited,         // the engine was asked to wait until done
    VoiceCreated,   // a fresh voice with the default voice and rate
    VoiceSelected,  // number: the position of the installed voice
    RateSet,        // number: the new rate
    SoundFile,      // number: player 1..4, text: the file name
    SoundPlay,      // number: player 1..4
    SoundStop,      // number: player 1..4
    SoundVolume,    // number: player 1..4, level: percent
    Beep,
    Dialog,            // text: title, prompt, initial
    Seeded,            // number: the seed handed out
    DirectoryChanged,  // text: the new current directory
    Addressed,         // number: who hears what follows (an Audiencia value)
    Turn,              // number: the character asked for its choice, text: its name
};

struct Event {
    Event() = default;
    explicit Event(EventKind k, std::string t = {}, std::int64_t n = 0) : kind(k), text(std::move(t)), number(n) {}
    static Event said(std::string text, bool before, bool after) {
        Event e(EventKind::Said, std::move(text));
        e.before = before;
        e.after = after;
        return e;
    }
    static Event volume(int player, int percent) {
        Event e(EventKind::SoundVolume, {}, player);
        e.level = percent;
        return e;
    }
    static Event dialog(std::string title, std::string prompt, std::string initial) {
        Event e(EventKind::Dialog, std::move(title));
        e.prompt = std::move(prompt);
        e.initial = std::move(initial);
        return e;
    }

    EventKind kind{};
    std::string text;
    std::int64_t number = 0;
    int level = 0;
    bool before = false;
    bool after = false;
    std::string prompt;
    std::string initial;

    bool operator==(const Event&) const = default;
};

// Readable one-line form, for test failure messages.
std::string Describe(const Event& e);
std::ostream& operator<<(std::ostream& os, const Event& e);

// Shared by all the stand-ins of one platform so that their events keep one order.
class Recorder {
public:
    // Keeps the event, or hands it straight on when a listener is set.
    void record(Event e) {
        if (listener) {
            listener(e);
        } else {
            events.push_back(std::move(e));
        }
    }

    std::vector<Event> events;
    std::function<void(const Event&)> listener;
};

}  // namespace veldrisa
