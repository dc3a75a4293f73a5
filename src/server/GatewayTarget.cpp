#include "server/GatewayTarget.h"

#include "net/TcpHttp.h"
#include "server/ServerConstants.h"

std::string QueryGateway(const std::string& address, uint16_t port, const std::string& path,
                         const std::string& hostHeader) {
    try {
        CTCPHttp http(address, port);
        http.SetTimeouts(server::kGatewayTimeoutMs, server::kGatewayTimeoutMs);
        return http.Get(path, hostHeader);
    } catch (...) {
        return {};
    }
}
