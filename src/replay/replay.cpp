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

// Both end the run from wherever they are thrown, even from inside an open dialog.
struct EndOfInput {};
struct InputError {
    std::uint64_t line;
    std::string problem;
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

// Handles the lines until the program or the input ends.
void Run(Programa& programa, LineReader& reader, std::ostream& out) {
    std::string shownLog;
    while (auto line = reader.next()) {
        const InputLine& parsed = line->parsed;
        if (parsed.kind == InputLine::Kind::Key) {
            programa.Tecla(parsed.key.code, parsed.key.mask);
        } else if (parsed.kind == InputLine::Kind::State) {
            out << StateJson(programa) << std::endl;
        } else {
            throw InputError{line->number,
                             parsed.kind == InputLine::Kind::Invalid ? parsed.text : "no dialog is open"};
        }
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
    recording.dialog.source = [&reader] { return DialogAnswer(reader); };

    Programa programa(recording.platform);
    try {
        if (!programa.Inicia()) {
            err << "veldrisa-replay: no voice is installed" << std::endl;
            return 1;
        }
        Run(programa, reader, out);
    } catch (const EndOfInput&) {
        // The input may run out with the dialog still open; that is an ordinary end.
    } catch (const InputError& e) {
        err << "veldrisa-replay: line " << e.line << ": " << e.problem << std::endl;
        return 2;
    }
    return 0;
}

}  // namespace veldrisa
