// The audience rule: everyone's, the seat's own characters', and the answers to its own keys.
#include "audience/seat_filter.hpp"

#include <charconv>

namespace veldrisa {

std::optional<Seat> ParseSeat(std::string_view text) {
    Seat seat;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        int character = 0;
        const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), character);
        if (item.empty() || ec != std::errc{} || end != item.data() + item.size() || character < 1 ||
            character > 10 || item[0] == '0' || seat[static_cast<std::size_t>(character)])
            return std::nullopt;
        seat.set(static_cast<std::size_t>(character));
        if (comma == std::string_view::npos) return seat;
        text.remove_prefix(comma + 1);
    }
}

std::string SeatText(const Seat& seat) {
    std::string text;
    for (std::size_t c = 1; c <= 10; ++c)
        if (seat[c]) text += (text.empty() ? "" : ",") + std::to_string(c);
    return text;
}

bool SeatFilter::hears(int audience) const {
    if (audience == Audiencia::Todos) return true;
    // A key from no seat in particular was pressed at the one shared keyboard: all hear its answer.
    if (audience == Audiencia::QuienPulsa) return !presser_ || *presser_ == seat_;
    return audience >= 1 && audience <= 10 && seat_[static_cast<std::size_t>(audience)];
}

std::optional<Event> SeatFilter::pass(const Event& e) {
    switch (e.kind) {
        case EventKind::Addressed: audience_ = static_cast<int>(e.number); return std::nullopt;
        case EventKind::Turn:
            if (hears(static_cast<int>(e.number))) return std::nullopt;
            return Event::said("Turno de " + e.text, false, false);
        case EventKind::Said:
        case EventKind::SoundFile:
        case EventKind::SoundPlay:
        case EventKind::SoundStop:
        case EventKind::SoundVolume:
        case EventKind::Beep:
            if (!hears(audience_)) return std::nullopt;
            return e;
        case EventKind::Screen:
        case EventKind::Dialog: return e;
        default:
            // The engines' inner workings reach no seat: what the engine speaks is what was said, and
            // that has its audience already.
            return std::nullopt;
    }
}

std::string SeatFilter::log(const std::vector<PiezaLog>& pieces) const {
    std::string text;
    for (const PiezaLog& piece : pieces)
        if (piece.Dueno == Audiencia::Todos || hears(piece.Dueno)) text += piece.Texto;
    return text;
}

}  // namespace veldrisa
