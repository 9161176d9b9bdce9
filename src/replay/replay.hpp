// The replay tool: keys from a stream in, JSON lines of everything perceived out.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace veldrisa {

// Runs the program on recording stand-ins as the command line args (without the
// program's name) ask, until the program ends or the input does; returns the exit status.
int Replay(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace veldrisa
