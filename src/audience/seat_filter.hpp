// What one seat of an online table receives of all the game says, plays, beeps and writes.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/recording/event.hpp"
#include "ports/platform.hpp"
#include "table/mesa.hpp"

namespace veldrisa {

// The characters 1..10 that one seat controls; a spectator's seat holds none.
using Seat = std::bitset<11>;

// "3,7": the seat of characters 3 and 7. Nothing unless the text lists distinct characters 1..10,
// separated by commas.
std::optional<Seat> ParseSeat(std::string_view text);
// The seat as ParseSeat reads it: "3,7".
std::string SeatText(const Seat& seat);

// Follows the game's events in order and lets through those the seat may perceive: what is
// addressed to everyone, to one of its characters, or to whoever pressed the key when the seat did.
class SeatFilter {
public:
    explicit SeatFilter(Seat seat) : seat_(seat) {}

    // The seat that pressed the key now handled; nothing for an input of no seat in particular.
    void pressedBy(std::optional<Seat> presser) { presser_ = presser; }
    // The event as the seat receives it, a message of its own in its place, or nothing.
    std::optional<Event> pass(const Event& e);
    // The seat's own view of the window's log.
    std::string log(const std::vector<PiezaLog>& pieces) const;

private:
    bool hears(int audience) const;

    Seat seat_;
    std::optional<Seat> presser_;
    int audience_ = Audiencia::Todos;
};

}  // namespace veldrisa
