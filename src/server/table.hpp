// One online table: its seats, the unchanged game fed by the table's journal, and what each seat
// and the spectators receive of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audience/seat_filter.hpp"
#include "ports/keys.hpp"
#include "protocol/messages.hpp"
#include "replay/session.hpp"

namespace veldrisa {

// The lobby's outcome: which seat plays which characters, and the names they gave them.
struct TableSetup {
    std::uint32_t seed = 0;
    std::vector<Seat> seats;
    std::array<std::string, 11> names;  // 1..10; empty keeps the roster's own name
};

class OnlineTable {
public:
    // The game opened from the lobby's outcome; with the journal of an earlier run, the game as
    // that journal left it, with nothing waiting to be sent.
    explicit OnlineTable(const TableSetup& setup, const std::vector<std::string>& journal = {});

    // A key from a seat (an index into the setup's seats). C and P are about the seat's own
    // character (the one given, else its first). A key the seat may not press now is refused:
    // nothing changes and nothing is written down.
    std::optional<protocol::Reason> press(std::size_t seat, KeyEvent key, int character = 0);
    // The awaited choice's time ran out; false when no choice is awaited.
    bool timeOut();
    void handToComputer(int character);
    void takeBack(int character);

    // The character whose choice the day waits for.
    std::optional<int> asked();
    // What the game waits for; nothing once the program has ended.
    std::optional<protocol::Turn> turn();
    // A character's name as the game now calls it.
    const std::string& name(int character) {
        return session_.game().Personajes.at(static_cast<std::size_t>(character)).Nombre;
    }
    bool ended() const { return session_.ended(); }
    // The lines the seat received since the last call; the index past the last seat is the spectators'.
    std::vector<std::string> take(std::size_t reader);
    // A table restored from a journal: the lines the reader received from the game's opening to
    // where the journal left it, once.
    std::vector<std::string> takeRestored(std::size_t reader);
    // Every input since the game opened, as the replay tool reads them: the setup screen's keys
    // and names first.
    const std::vector<std::string>& journal() const { return journal_; }

private:
    void feed(const std::string& line, const std::string* answer = nullptr);
    std::string seatKey(std::size_t seat, std::string_view key) const;

    TableSetup setup_;
    Session session_;
    std::vector<std::vector<std::string>> pending_, restored_;
    std::vector<std::string> journal_;
};

}  // namespace veldrisa
