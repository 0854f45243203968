// The loopback address the test servers listen on, filled alike over BSD
// sockets and Winsock.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

namespace webtest {

// 127.0.0.1 or [::1] at `port` (0: any free port); returns the address's
// size.
inline int LoopbackAddress(bool ipv6, int port, sockaddr_storage* addr) {
    *addr = {};
    const auto networkPort = htons(static_cast<std::uint16_t>(port));
    if (ipv6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(addr);
        in6->sin6_family = AF_INET6;
        in6->sin6_addr = in6addr_loopback;
        in6->sin6_port = networkPort;
        return sizeof(sockaddr_in6);
    }
    auto* in = reinterpret_cast<sockaddr_in*>(addr);
    in->sin_family = AF_INET;
    in->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    in->sin_port = networkPort;
    return sizeof(sockaddr_in);
}

inline int PortOf(const sockaddr_storage& addr) {
    return ntohs(addr.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6*>(&addr)->sin6_port
                     : reinterpret_cast<const sockaddr_in*>(&addr)->sin_port);
}

}  // namespace webtest
