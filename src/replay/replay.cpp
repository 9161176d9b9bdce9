// The replay tool's main loop.
#include "replay/replay.hpp"

#include <cstdint>

#include "app/programa.hpp"
#include "platform/shared/valid_utf8.hpp"
#include "replay/input.hpp"
#include "replay/line_reader.hpp"
#include "replay/options.hpp"
#include "replay/output.hpp"

namespace veldrisa {
namespace {

struct InputError {
    std::uint64_t line;
    std::string problem;
};

// A line while the name field is open: the whole answer (TEXT, CANCEL), taken as the field
// takes typed text, or one of the field's keys or one piece of typing.
void InField(Programa& programa, const NumberedLine& line) {
    const InputLine& parsed = line.parsed;
    switch (parsed.kind) {
    case InputLine::Kind::Text: programa.Responde(ValidUtf8(parsed.text)); break;
    case InputLine::Kind::Cancel: programa.Responde(""); break;
    case InputLine::Kind::FieldKey: programa.Tecla(parsed.key.code, parsed.key.mask); break;
    case InputLine::Kind::Type: programa.Texto(parsed.text); break;
    case InputLine::Kind::Invalid: throw InputError{line.number, parsed.text};
    default: throw InputError{line.number, "the dialog is open: TEXT or CANCEL expected"};
    }
}

void OnScreen(Programa& programa, const NumberedLine& line, std::ostream& out) {
    const InputLine& parsed = line.parsed;
    if (parsed.kind == InputLine::Kind::Key) {
        programa.Tecla(parsed.key.code, parsed.key.mask);
    } else if (parsed.kind == InputLine::Kind::State) {
        out << StateJson(programa) << std::endl;
    } else {
        throw InputError{line.number, parsed.kind == InputLine::Kind::Invalid ? parsed.text : "no dialog is open"};
    }
}

// Handles the lines until the program or the input ends.
void Run(Programa& programa, LineReader& reader, std::ostream& out) {
    std::string shownLog;
    while (auto line = reader.next()) {
        if (programa.Campo())
            InField(programa, *line);
        else
            OnScreen(programa, *line, out);
        const std::string& label = programa.form1.mesa.Label1;
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
    // Written at once, so that a run the game cuts short still shows what led up to it.
    recording.recorder.listener = [&out](const Event& e) {
        if (auto line = EventJson(e)) out << *line << std::endl;
    };
    LineReader reader(in);

    Programa programa(recording.platform);
    try {
        if (!programa.Inicia()) {
            err << "veldrisa-replay: no voice is installed" << std::endl;
            return 1;
        }
        Run(programa, reader, out);
    } catch (const InputError& e) {
        err << "veldrisa-replay: line " << e.line << ": " << e.problem << std::endl;
        return 2;
    }
    return 0;
}

}  // namespace veldrisa
