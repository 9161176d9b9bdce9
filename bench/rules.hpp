// Whole games with every character in the computer's hands, as fast as the game code plays them.
#pragma once

#include <vector>

namespace veldrisa::bench {

// Games per second on the calling thread, one figure per interval of `seconds`, the
// recording stand-ins' events thrown away as they come.
std::vector<double> GamesPerSecond(int intervals, double seconds);

}  // namespace veldrisa::bench
