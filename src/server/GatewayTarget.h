// Where the gateway queries go: the configured endpoints, or a test's peer.
#pragma once

#include <cstdint>
#include <string>

#include "EndpointConfig.h"

struct GatewayTarget {
    std::string host = endpoints::kGatewayHost;
    std::string fallbackIp = endpoints::kGatewayFallbackIp;
    uint16_t port = endpoints::kHttpPort;
};

// The body of a 200 reply to GET path at address, with hostHeader as Host;
// "" for any failure.
std::string QueryGateway(const std::string& address, uint16_t port, const std::string& path,
                         const std::string& hostHeader);
