// Writes down every call of the speaking routine and every window that opens.
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
    void addressedTo(int audience) override { recorder_.record(Event(EventKind::Addressed, {}, audience)); }
    void turnOf(int character, std::string_view name) override {
        recorder_.record(Event(EventKind::Turn, std::string(name), character));
    }

private:
    Recorder& recorder_;
};

}  // namespace veldrisa
