// The replay tool's main loop.
#include "replay/replay.hpp"

#include <cstdint>

#include "platform/shared/valid_utf8.hpp"
#include "replay/input.hpp"
#include "replay/options.hpp"
#include "replay/session.hpp"

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

// Handles the lines until the program or the input ends.
void Run(Session& session, LineReader& reader) {
    while (auto line = reader.next()) {
        try {
            session.handle(line->parsed);
        } catch (const SessionError& e) {
            throw InputError{line->number, e.what()};
        }
        if (session.ended()) return;
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

    Session session(arguments->options);
    // Written at once, so that a run the game cuts short still shows what led up to it.
    session.addReader(arguments->seat, [&out](const std::string& line) { out << line << std::endl; });
    LineReader reader(in);
    session.platform().dialog.source = [&reader] { return DialogAnswer(reader); };
    try {
        if (!session.start()) {
            err << "veldrisa-replay: no voice is installed" << std::endl;
            return 1;
        }
        Run(session, reader);
    } catch (const EndOfInput&) {
        // The input may run out with the dialog still open; that is an ordinary end.
    } catch (const InputError& e) {
        err << "veldrisa-replay: line " << e.line << ": " << e.problem << std::endl;
        return 2;
    }
    return 0;
}

}  // namespace veldrisa
