// Writing a WebSocket's queued messages one text frame at a time: the server's and the client's way.
#pragma once

#include <boost/asio/buffer.hpp>
#include <boost/beast/core/error.hpp>
#include <cstddef>
#include <deque>
#include <string>
#include <utility>

namespace veldrisa {

// Writes the first message of the queue, which stays there until done(ec) is called: a WebSocket
// takes one write at a time, and the queue keeps the text alive while it is written.
template <typename WebSocket, typename Done>
void WriteFirst(WebSocket& ws, const std::deque<std::string>& queue, Done done) {
    ws.text(true);
    ws.async_write(boost::asio::buffer(queue.front()),
                   [done = std::move(done)](boost::beast::error_code ec, std::size_t) { done(ec); });
}

}  // namespace veldrisa
