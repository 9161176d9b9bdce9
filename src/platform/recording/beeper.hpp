// A system beep that is only written down.
#pragma once

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class RecordingBeeper : public Beeper {
public:
    explicit RecordingBeeper(Recorder& recorder) : recorder_(recorder) {}
    void beep() override { recorder_.record(Event(EventKind::Beep)); }

private:
    Recorder& recorder_;
};

}  // namespace veldrisa
