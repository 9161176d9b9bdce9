// Printing of recorded events.
#include "platform/recording/event.hpp"

#include <sstream>

namespace veldrisa {
namespace {

const char* Name(EventKind k) {
    switch (k) {
    case EventKind::Said: return "said";
    case EventKind::Screen: return "screen";
    case EventKind::Spoke: return "spoke";
    case EventKind::Stopped: return "stopped";
    case EventKind::Waited: return "waited";
    case EventKind::VoiceCreated: return "voice-created";
    case EventKind::VoiceSelected: return "voice-selected";
    case EventKind::RateSet: return "rate-set";
    case EventKind::SoundFile: return "sound-file";
    case EventKind::SoundPlay: return "sound-play";
    case EventKind::SoundStop: return "sound-stop";
    case EventKind::SoundVolume: return "sound-volume";
    case EventKind::Beep: return "beep";
    case EventKind::Dialog: return "dialog";
    case EventKind::Seeded: return "seeded";
    case EventKind::DirectoryChanged: return "directory-changed";
    case EventKind::Addressed: return "addressed";
    case EventKind::Turn: return "turn";
    }
    return "?";
}

bool HasNumber(EventKind k) {
    switch (k) {
    case EventKind::VoiceSelected:
    case EventKind::RateSet:
    case EventKind::SoundFile:
    case EventKind::SoundPlay:
    case EventKind::SoundStop:
    case EventKind::SoundVolume:
    case EventKind::Seeded:
    case EventKind::Addressed:
    case EventKind::Turn: return true;
    default: return false;
    }
}

}  // namespace

std::string Describe(const Event& e) {
    std::ostringstream os;
    os << Name(e.kind);
    if (!e.text.empty()) os << " \"" << e.text << '"';
    if (HasNumber(e.kind)) os << " " << e.number;
    if (e.kind == EventKind::SoundVolume) os << " at " << e.level << "%";
    if (e.kind == EventKind::Said) os << (e.before ? " before" : "") << (e.after ? " after" : "");
    if (e.kind == EventKind::Dialog) os << " \"" << e.prompt << "\" \"" << e.initial << '"';
    return os.str();
}

std::ostream& operator<<(std::ostream& os, const Event& e) { return os << Describe(e); }

}  // namespace veldrisa
