// The replay tool's main loop.
#include "replay/replay.hpp"

#include <cstdint>

#include "platform/shared/valid_utf8.hpp"
#include "replay/input.hpp"
#include "replay/line_reader.hpp"
#include "replay/options.hpp"
#include "replay/session.hpp"

namespace veldrisa {
namespace {

struct InputError {
    std::uint64_t line;
    std::string problem;
};

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

    try {
        if (!session.start()) {
            err << "veldrisa-replay: no voice is installed" << std::endl;
            return 1;
        }
        Run(session, reader);
    } catch (const InputError& e) {
        err << "veldrisa-replay: line " << e.line << ": " << e.problem << std::endl;
        return 2;
    }
    return 0;
}

}  // namespace veldrisa
