// Writes down every call of the speaking routine, every window and every text field that opens.
#pragma once

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class RecordingObserver : public Observer {
public:
    explicit RecordingObserver(Recorder& recorder) : recorder_(recorder) {}

    void said(std::string_view text, bool waitBefore, bool waitAfter) override {
        recorder_.record(Event::said(std::string(text), waitBefore, waitAfter));
    }
    void screenOpened(const char* name) override {
        recorder_.record(Event(EventKind::Screen, name));
    }
    void dialogOpened(std::string_view title, std::string_view prompt, std::string_view initial) override {
        recorder_.record(Event::dialog(std::string(title), std::string(prompt), std::string(initial)));
    }
    void addressedTo(int audience) override { recorder_.record(Event(EventKind::Addressed, {}, audience)); }
    void turnOf(int character, std::string_view name) override {
        recorder_.record(Event(EventKind::Turn, std::string(name), character));
    }

private:
    Recorder& recorder_;
};

}  // namespace veldrisa
