// Input lines handed to the program, and what each reader perceives of them.
#include "replay/session.hpp"

#include "platform/shared/valid_utf8.hpp"
#include "play/despachador.hpp"
#include "play/relevo.hpp"
#include "replay/output.hpp"

namespace veldrisa {

Session::Session(const RecordingOptions& options) : recording_(options), programa_(recording_.platform) {
    recording_.recorder.listener = [this](const Event& e) { perceive(e); };
}

void Session::addReader(std::optional<Seat> seat, Writer write) {
    Reader reader{std::nullopt, std::move(write), {}};
    if (seat) reader.filter.emplace(*seat);
    readers_.push_back(std::move(reader));
}

void Session::perceive(const Event& e) {
    for (Reader& r : readers_) {
        if (!r.filter) {
            if (auto line = EventJson(e)) r.write(*line);
        } else if (auto seen = r.filter->pass(e)) {
            if (auto line = EventJson(*seen)) r.write(*line);
        }
    }
}

// The journal's own inputs: a seat's information about one of its characters, a time-out, a
// character handed over. They belong to a game under way.
void Session::journalInput(const InputLine& line) {
    if (programa_.pantalla() != Pantalla::Juego) throw SessionError("no game is under way");
    Form1& game = programa_.form1;
    switch (line.kind) {
        case InputLine::Kind::Key: TeclaInformativaDe(game, line.character, line.key.code); break;
        case InputLine::Kind::TimeOut: EligePorTiempo(game); break;
        case InputLine::Kind::Computer: CedeAComputadora(game, line.character); break;
        default: RecuperaPersonaje(game, line.character); break;
    }
}

// A line while the name field is open: the whole answer (TEXT, CANCEL), taken as the field takes
// typed text, or one of the field's keys or one piece of typing.
void Session::inField(const InputLine& line) {
    switch (line.kind) {
        case InputLine::Kind::Text: programa_.Responde(ValidUtf8(line.text)); break;
        case InputLine::Kind::Cancel: programa_.Responde(""); break;
        case InputLine::Kind::FieldKey: programa_.Tecla(line.key.code, line.key.mask); break;
        case InputLine::Kind::Type: programa_.Texto(line.text); break;
        case InputLine::Kind::Invalid: throw SessionError(line.text);
        default: throw SessionError("the dialog is open: TEXT or CANCEL expected");
    }
}

void Session::handle(const InputLine& line) {
    for (Reader& r : readers_)
        if (r.filter) r.filter->pressedBy(line.seat);
    if (programa_.Campo()) {
        inField(line);
        writeLogs();
        if (ended())
            for (Reader& r : readers_) r.write(ExitJson());
        return;
    }
    switch (line.kind) {
        case InputLine::Kind::Key:
            if (line.character)
                journalInput(line);
            else
                programa_.Tecla(line.key.code, line.key.mask);
            break;
        case InputLine::Kind::State:
            // For whoever runs the tool; a table's journal never holds it.
            for (Reader& r : readers_) r.write(StateJson(programa_));
            break;
        case InputLine::Kind::TimeOut:
        case InputLine::Kind::Computer:
        case InputLine::Kind::Player: journalInput(line); break;
        default: throw SessionError(line.kind == InputLine::Kind::Invalid ? line.text : "no dialog is open");
    }
    writeLogs();
    if (ended())
        for (Reader& r : readers_) r.write(ExitJson());
}

// After each line, the log of each reader that sees it changed.
void Session::writeLogs() {
    const Mesa& mesa = programa_.form1.mesa;
    for (Reader& r : readers_) {
        std::string seatLog;
        if (r.filter) seatLog = r.filter->log(mesa.PiezasLog);
        const std::string& label = r.filter ? seatLog : mesa.Label1;
        if (label == r.shownLog) continue;
        r.shownLog = label;
        r.write(LogJson(label));
    }
}

}  // namespace veldrisa
