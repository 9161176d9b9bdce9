// A table's inputs checked against whose turn it is, written down, and played.
#include "server/table.hpp"

#include <algorithm>
#include <utility>

#include "play/relevo.hpp"

namespace veldrisa {
namespace {

RecordingOptions Options(std::uint32_t seed) {
    RecordingOptions options;
    options.seed = seed;
    return options;
}

// A game key as the replay tool names it.
std::string KeyName(KeyEvent key) {
    if (key.code >= Tecla::Cero && key.code <= Tecla::Nueve)
        return std::string(key.mask & ModControl ? "CTRL+" : "") + static_cast<char>(key.code);
    switch (key.code) {
        case Tecla::Espacio: return "SPACE";
        case Tecla::F1: return "F1";
        case Tecla::F2: return "F2";
        case Tecla::F6: return "F6";
        default: return std::string(1, static_cast<char>(key.code));  // C, P, H
    }
}

}  // namespace

OnlineTable::OnlineTable(const TableSetup& setup, const std::vector<std::string>& journal)
    : setup_(setup), session_(Options(setup.seed)), pending_(setup.seats.size() + 1) {
    for (std::size_t i = 0; i <= setup_.seats.size(); ++i)
        session_.addReader(i < setup_.seats.size() ? setup_.seats[i] : Seat{},
                           [this, i](const std::string& line) { pending_[i].push_back(line); });
    session_.start();
    if (journal.empty()) {
        for (int c = 1; c <= 10; ++c) {
            const bool played = std::any_of(setup_.seats.begin(), setup_.seats.end(),
                                            [c](const Seat& s) { return s[static_cast<std::size_t>(c)]; });
            if (played) feed("SPACE");
            if (!setup_.names[c].empty()) feed("F2", &setup_.names[c]);
            feed("RIGHT");
        }
        // The lobby stands for the setup screen: the seats receive the game from its opening on.
        for (auto& lines : pending_) lines.clear();
        feed("ENTER");
        return;
    }
    for (std::size_t i = 0; i < journal.size(); ++i) {
        if (journal[i] == "ENTER")
            for (auto& lines : pending_) lines.clear();
        const bool answered = i + 1 < journal.size() && journal[i + 1].starts_with("TEXT ");
        const std::string answer = answered ? journal[i + 1].substr(5) : std::string();
        feed(journal[i], answered ? &answer : nullptr);
        if (answered) ++i;
    }
    restored_ = std::exchange(pending_, std::vector<std::vector<std::string>>(pending_.size()));
}

void OnlineTable::feed(const std::string& line, const std::string* answer) {
    journal_.push_back(line);
    session_.handle(ParseLine(line));
    // The name field the line opened takes the answer at once, as TEXT gives it.
    if (answer) {
        journal_.push_back("TEXT " + *answer);
        session_.handle(ParseLine(journal_.back()));
    }
}

std::string OnlineTable::seatKey(std::size_t seat, std::string_view key) const {
    return "@" + SeatText(setup_.seats.at(seat)) + " " + std::string(key);
}

std::optional<int> OnlineTable::asked() {
    Form1& game = session_.game().form1;
    if (ended() || session_.game().pantalla() != Pantalla::Juego || !EsperaEleccion(game))
        return std::nullopt;
    return game.Actual().Indice;
}

std::optional<protocol::Turn> OnlineTable::turn() {
    if (ended() || session_.game().pantalla() != Pantalla::Juego) return std::nullopt;
    const Mesa& mesa = session_.game().form1.mesa;
    if (const auto character = asked()) {
        using protocol::Ask;
        const Ask ask = mesa.Fase == Fases::Salas    ? Ask::Room
                        : mesa.Fase == Fases::Cartas ? Ask::Card
                                                     : Ask::Target;
        const int choices = ask == Ask::Room ? mesa.NumSalas : ask == Ask::Card ? 2 : mesa.NumObjetivos;
        return protocol::Turn{ask, *character, name(*character), choices, {}};
    }
    protocol::Turn t;
    switch (mesa.Fase) {
        case Fases::FinPartida: t.ask = protocol::Ask::End, t.choices = 1; break;
        case Fases::Salas: t.next = "cards"; break;
        case Fases::Cartas: t.next = "night"; break;
        default: t.next = "rooms"; break;
    }
    return t;
}

std::optional<protocol::Reason> OnlineTable::press(std::size_t seat, KeyEvent key, int character) {
    if (seat >= setup_.seats.size()) return protocol::Reason::NotAllowed;
    if (ended()) return protocol::Reason::Order;
    const Seat& own = setup_.seats[seat];
    const auto waiting = asked();
    const bool askedHere = waiting && own[static_cast<std::size_t>(*waiting)];
    if (key.code == Tecla::C || key.code == Tecla::P) {
        if (character == 0 && askedHere) character = *waiting;
        for (int c = 1; c <= 10 && character == 0; ++c)
            if (own[static_cast<std::size_t>(c)]) character = c;
        if (character < 1 || character > 10 || !own[static_cast<std::size_t>(character)])
            return protocol::Reason::NotYours;
        feed(seatKey(seat, KeyName(key) + " " + std::to_string(character)));
        return std::nullopt;
    }
    // While one player chooses, the others may only ask for what changes nothing.
    if (waiting && !askedHere && key.code != Tecla::H && key.code != Tecla::F1)
        return protocol::Reason::NotYours;
    feed(seatKey(seat, KeyName(key)));
    return std::nullopt;
}

bool OnlineTable::timeOut() {
    if (!asked()) return false;
    feed("TIMEOUT");
    return true;
}

void OnlineTable::handToComputer(int character) { feed("COMPUTER " + std::to_string(character)); }

void OnlineTable::takeBack(int character) { feed("PLAYER " + std::to_string(character)); }

std::vector<std::string> OnlineTable::take(std::size_t reader) {
    return std::exchange(pending_.at(reader), {});
}

std::vector<std::string> OnlineTable::takeRestored(std::size_t reader) {
    return reader < restored_.size() ? std::exchange(restored_[reader], {}) : std::vector<std::string>{};
}

}  // namespace veldrisa
