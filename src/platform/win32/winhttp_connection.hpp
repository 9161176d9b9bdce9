// The connection port on Windows: WinHTTP's WebSocket over Schannel, on a thread of its own,
// its events handed to the run loop through the window's wake-up.
#pragma once

#include <functional>
#include <memory>

#include "ports/connection.hpp"

namespace veldrisa {

// wake is called from the network thread each time an event is waiting.
std::unique_ptr<Connection> MakeWinHttpConnection(std::function<void()> wake);

}  // namespace veldrisa
