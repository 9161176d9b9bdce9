// veldrisa-replay: plays the game from key events on standard input, reporting in JSON lines.
#include <iostream>
#include <string>
#include <vector>

#include "platform/recording/process.hpp"
#include "replay/replay.hpp"

int main(int argc, char** argv) {
    veldrisa::UseBinaryStandardStreams();
    std::ios::sync_with_stdio(false);
    return veldrisa::Replay(veldrisa::CommandLineArguments(argc, argv), std::cin, std::cout, std::cerr);
}
