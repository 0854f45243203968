// The few socket calls the web tests' servers make, over BSD sockets on
// Linux and Winsock on Windows, so that one set of test sources serves both.
#pragma once

#include <cstddef>
#include <cstdint>

namespace webtest {

using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;

// A socket listening on 127.0.0.1 (or [::1]) on a free port; kNoSocket when
// that fails. `port` receives the port.
Socket ListenOnLoopback(bool ipv6, int backlog, int* port);
Socket Accept(Socket listener);
// Starts connecting to 127.0.0.1:`port` without waiting for the answer.
Socket StartConnecting(int port);
// What recv and send return: bytes moved, 0 at the end, below 0 on failure.
long Receive(Socket socket, char* buffer, std::size_t size);
long Send(Socket socket, const char* data, std::size_t size);
void ShutdownSending(Socket socket);
void Close(Socket socket);

// Waits up to `timeoutMs` (-1: no limit) until one of the `count` sockets
// has something to read; `readable[i]` tells which. False on a timeout.
bool WaitReadable(const Socket* sockets, bool* readable, int count, int timeoutMs);

}  // namespace webtest
