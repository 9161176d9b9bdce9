// The replay tool's main loop.
#include "replay/replay.hpp"

#include <cstdint>

#include "app/programa.hpp"
#include "platform/shared/valid_utf8.hpp"
#include "play/despachador.hpp"
#include "play/relevo.hpp"
#include "replay/input.hpp"
#include "replay/options.hpp"
#include "replay/output.hpp"

namespace veldrisa {
namespace {

// Both end the run from wherever they are thrown, even from inside an open dialog.
struct EndOfInput {};
struct InputError {
    std::uint64_t line;
    std::string problem;
};

struct NumberedLine {
    std::uint64_t number;
    InputLine parsed;
};

class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in) {}

    // The next line that is not blank or a comment.
    std::optional<NumberedLine> next() {
        std::string raw;
        while (std::getline(in_, raw)) {
            ++number_;
            InputLine parsed = ParseLine(raw);
            if (parsed.kind != InputLine::Kind::Skip) return NumberedLine{number_, std::move(parsed)};
        }
        return std::nullopt;
    }

private:
    std::istream& in_;
    std::uint64_t number_ = 0;
};

// The answer typed into the dialog, from the line that must follow its opening, taken as the
// game's own dialog takes typed text.
std::string DialogAnswer(LineReader& reader) {
    auto line = reader.next();
    if (!line) throw EndOfInput{};
    switch (line->parsed.kind) {
    case InputLine::Kind::Text: return ValidUtf8(line->parsed.text);
    case InputLine::Kind::Cancel: return "";
    case InputLine::Kind::Invalid: throw InputError{line->number, line->parsed.text};
    default: throw InputError{line->number, "the dialog is open: TEXT or CANCEL expected"};
    }
}

// The journal's own inputs: a seat's information about one of its characters, a time-out, a
// character handed over. They belong to a game under way.
void JournalInput(Programa& programa, const NumberedLine& line) {
    const InputLine& parsed = line.parsed;
    if (programa.pantalla() != Pantalla::Juego) throw InputError{line.number, "no game is under way"};
    Form1& game = programa.form1;
    switch (parsed.kind) {
        case InputLine::Kind::Key: TeclaInformativaDe(game, parsed.character, parsed.key.code); break;
        case InputLine::Kind::TimeOut: EligePorTiempo(game); break;
        case InputLine::Kind::Computer: CedeAComputadora(game, parsed.character); break;
        default: RecuperaPersonaje(game, parsed.character); break;
    }
}

void Handle(Programa& programa, const NumberedLine& line, std::ostream& out) {
    const InputLine& parsed = line.parsed;
    switch (parsed.kind) {
        case InputLine::Kind::Key:
            if (parsed.character)
                JournalInput(programa, line);
            else
                programa.Tecla(parsed.key.code, parsed.key.mask);
            break;
        case InputLine::Kind::State: out << StateJson(programa) << std::endl; break;
        case InputLine::Kind::TimeOut:
        case InputLine::Kind::Computer:
        case InputLine::Kind::Player: JournalInput(programa, line); break;
        default:
            throw InputError{line.number,
                             parsed.kind == InputLine::Kind::Invalid ? parsed.text : "no dialog is open"};
    }
}

// Handles the lines until the program or the input ends; with a seat's filter, only what that seat
// receives is written.
void Run(Programa& programa, LineReader& reader, std::ostream& out, SeatFilter* filter) {
    std::string shownLog;
    while (auto line = reader.next()) {
        if (filter) filter->pressedBy(line->parsed.seat);
        Handle(programa, *line, out);
        const Mesa& mesa = programa.form1.mesa;
        std::string seatLog;
        if (filter) seatLog = filter->log(mesa.PiezasLog);
        const std::string& label = filter ? seatLog : mesa.Label1;
        if (label != shownLog) {
            shownLog = label;
            out << LogJson(shownLog) << std::endl;
        }
        if (programa.Terminado()) {
            out << ExitJson() << std::endl;
            return;
        }
    }
}

}  // namespace

int Replay(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    std::string problem;
    auto arguments = ParseArguments(args, problem);
    if (!arguments) {
        err << "veldrisa-replay: " << problem << "\n" << ReplayUsage << std::endl;
        return 2;
    }
    if (arguments->help) {
        out << ReplayUsage << std::endl;
        return 0;
    }

    RecordingPlatform recording(arguments->options);
    std::optional<SeatFilter> filter;
    if (arguments->seat) filter.emplace(*arguments->seat);
    // Written at once, so that a run the game cuts short still shows what led up to it.
    recording.recorder.listener = [&out, &filter](const Event& e) {
        const std::optional<Event> seen = filter ? filter->pass(e) : std::nullopt;
        if (filter && !seen) return;
        if (auto line = EventJson(seen ? *seen : e)) out << *line << std::endl;
    };
    LineReader reader(in);
    recording.dialog.source = [&reader] { return DialogAnswer(reader); };

    Programa programa(recording.platform);
    try {
        if (!programa.Inicia()) {
            err << "veldrisa-replay: no voice is installed" << std::endl;
            return 1;
        }
        Run(programa, reader, out, filter ? &*filter : nullptr);
    } catch (const EndOfInput&) {
        // The input may run out with the dialog still open; that is an ordinary end.
    } catch (const InputError& e) {
        err << "veldrisa-replay: line " << e.line << ": " << e.problem << std::endl;
        return 2;
    }
    return 0;
}

}  // namespace veldrisa
