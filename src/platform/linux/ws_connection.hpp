// The connection port on Linux: the WebSocket client over TLS (src/net) on a network thread of
// its own, its events handed to the run loop through the window's wake-up.
#pragma once

#include <functional>
#include <memory>

#include "ports/connection.hpp"

namespace veldrisa {

// wake is called from the network thread each time an event is waiting.
std::unique_ptr<Connection> MakeWebSocketConnection(std::function<void()> wake);

}  // namespace veldrisa
