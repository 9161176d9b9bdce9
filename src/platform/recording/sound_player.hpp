// A room-sound player that plays nothing and writes down every request.
#pragma once

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"

namespace veldrisa {

class RecordingSoundPlayer : public SoundPlayer {
public:
    // index: the room's player number, 1..4, as the events report it.
    RecordingSoundPlayer(Recorder& recorder, int index) : recorder_(recorder), index_(index) {}

    void setFileName(const std::string& name) override {
        recorder_.record(Event(EventKind::SoundFile, name, index_));
    }
    void play() override { recorder_.record(Event(EventKind::SoundPlay, {}, index_)); }
    void stop() override { recorder_.record(Event(EventKind::SoundStop, {}, index_)); }
    void setVolume(int percent) override { recorder_.record(Event::volume(index_, percent)); }

private:
    Recorder& recorder_;
    int index_;
};

}  // namespace veldrisa
