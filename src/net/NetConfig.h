// How new connections reach the network: the proxy to tunnel through and how
// host names are resolved. Copied from SharedSettings by every new client.
#pragma once

#include <cstdint>
#include <string>

struct ProxyConfig {
    // 0 connects directly, 1 tunnels through an HTTP proxy with CONNECT; any
    // other type is refused.
    int32_t type = 0;
    std::string host;
    uint16_t port = 0;
};

struct DnsConfig {
    // 0 uses the system resolver, 1 asks the server below over UDP; any other
    // mode fails every resolution.
    int32_t mode = 0;
    std::string server;  // dotted IPv4 address
};
