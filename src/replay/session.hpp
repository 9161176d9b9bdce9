// The replay tool's game, one input line at a time, written out for one reader or several: the
// whole game, or each online seat's share of it. An online table is one of these fed its journal.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/programa.hpp"
#include "audience/seat_filter.hpp"
#include "platform/recording/platform.hpp"
#include "replay/input.hpp"

namespace veldrisa {

// A line the game cannot take where it stands; what says why.
struct SessionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Session {
public:
    using Writer = std::function<void(const std::string&)>;

    explicit Session(const RecordingOptions& options);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Each JSON line the reader may perceive goes to write, as it happens: everything without a
    // seat, that seat's share with one. Readers are added before the start.
    void addReader(std::optional<Seat> seat, Writer write);
    // Opens the setup screen; false, with nothing written, when no voice is installed.
    bool start() { return programa_.Inicia(); }
    // Handles one line to its end (Key, State and the journal's own lines); throws SessionError.
    void handle(const InputLine& line);
    bool ended() const { return programa_.Terminado(); }

    RecordingPlatform& platform() { return recording_; }
    Programa& game() { return programa_; }

private:
    struct Reader {
        std::optional<SeatFilter> filter;
        Writer write;
        std::string shownLog;
    };
    void perceive(const Event& e);
    void journalInput(const InputLine& line);
    void inField(const InputLine& line);
    void writeLogs();

    RecordingPlatform recording_;
    Programa programa_;
    std::vector<Reader> readers_;
};

}  // namespace veldrisa
