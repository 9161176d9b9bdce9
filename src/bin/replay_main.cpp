// veldrisa-replay: plays the game from key events on standard input, reporting in JSON lines.
#include <iostream>
#include <string>
#include <vector>

#include "replay/replay.hpp"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return veldrisa::Replay(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout, std::cerr);
}
