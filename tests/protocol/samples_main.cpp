// Prints the message library's verdict on each client sample, one of each server message it
// builds, and every message of a whole game at the hall, for schema_check.py to hold against the
// schema.
#include <fstream>
#include <iostream>
#include <string>

#include "protocol/messages.hpp"
#include "server/hall.hpp"

using namespace veldrisa::protocol;

namespace {

// A public table and a private one, players and a spectator, a whole game by keys and time-outs,
// a player coming back halfway.
void HallGame() {
    int tokens = 0;
    veldrisa::Hall hall([] { return 7u; },
                        [&tokens] { return std::string(31, '0') + std::to_string(++tokens % 10); });
    veldrisa::Instant now{};
    const char* const script[] = {
        R"({"type":"hello","version":1,"client":"native"})",
        R"({"type":"create_table","name":"Ana","private":false,"time_limit":30})",
        R"({"type":"hello","version":1,"client":"web"})",
        R"({"type":"list_tables"})",
        R"({"type":"join","table":"t1","as":"player","name":"Bea"})",
        R"({"type":"hello","version":1,"client":"bot"})",
        R"({"type":"join","table":"t1","as":"spectator","name":"Carla"})",
    };
    const veldrisa::ConnectionId from[] = {1, 1, 2, 2, 2, 3, 3};
    std::vector<veldrisa::Outgoing> sent;
    auto send = [&](veldrisa::ConnectionId c, std::string_view text) {
        for (auto& o : hall.receive(c, text, now)) sent.push_back(std::move(o));
    };
    for (std::size_t i = 0; i < std::size(script); ++i) send(from[i], script[i]);
    send(1, R"({"type":"claim","character":2})");
    send(2, R"({"type":"claim","character":9})");
    send(2, R"({"type":"claim","character":2})");
    send(2, R"({"type":"rename","character":9,"name":"Nueve"})");
    send(1, R"({"type":"start"})");
    veldrisa::ConnectionId bea = 2;
    for (int i = 0; i < 300; ++i) {
        // Bea's connection drops halfway and she comes back on a new one, missing a few messages.
        if (i == 150) {
            for (auto& o : hall.drop(bea, now)) sent.push_back(std::move(o));
            bea = 4;
            send(
                bea,
                R"({"type":"hello","version":1,"client":"web","token":"00000000000000000000000000000002","seen":3})");
        }
        send(i % 2 ? bea : 1, i % 3 ? R"({"type":"key","key":"SPACE"})" : R"({"type":"key","key":"C"})");
        now += std::chrono::seconds(31);
        for (auto& o : hall.tick(now)) sent.push_back(std::move(o));
    }
    for (const auto& o : sent) std::cout << "server\t" << o.message << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: protocol-samples CLIENT_SAMPLES.jsonl\n";
        return 2;
    }
    std::ifstream samples(argv[1]);
    if (!samples) {
        std::cerr << "protocol-samples: cannot read " << argv[1] << "\n";
        return 2;
    }
    for (std::string line; std::getline(samples, line);) {
        const bool accepted = std::holds_alternative<ClientMessage>(ParseClientMessage(line));
        std::cout << (accepted ? "accept\t" : "refuse\t") << line << "\n";
    }
    for (const std::string& m :
         {WelcomeMessage("0123456789abcdef0123456789abcdef"),
          SayMessage("Hola \"Ana\"\r\n¿Qué?", true, false), SoundMessage(2, "file", "Vaso rompiéndose.mp3"),
          SoundMessage(1, "play"), SoundMessage(4, "stop"), LogMessage("El salón\r\nAna; \r\n"),
          BeepMessage(), ErrorMessage(Reason::Malformed), ErrorMessage(Reason::Token)})
        std::cout << "server\t" << m << "\n";
    HallGame();
    return 0;
}
