// Prints the message library's verdict on each client sample, and one of each server message it
// builds, for schema_check.py to hold against the schema.
#include <fstream>
#include <iostream>
#include <string>

#include "protocol/messages.hpp"

using namespace veldrisa::protocol;

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
    return 0;
}
