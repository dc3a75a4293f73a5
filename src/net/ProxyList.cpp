#include "net/ProxyList.h"

#include <cstdint>
#include <string>
#include <vector>

#include "sys/TextOps.h"

bool ParseProxyList(std::string_view list, ProxyConfig& proxy) {
    bool found = false;
    for (const std::string& entry : SplitAny(list, ";")) {
        const size_t equals = entry.find('=');
        const std::string scheme = equals == std::string::npos ? std::string() : entry.substr(0, equals);
        const size_t hostStart = equals == std::string::npos ? 0 : equals + 1;
        const size_t colon = entry.find(':', hostStart);
        const std::string host =
            entry.substr(hostStart, colon == std::string::npos ? std::string::npos : colon - hostStart);
        const std::string_view portText =
            colon == std::string::npos ? std::string_view() : std::string_view(entry).substr(colon + 1);
        if (host.empty() || !(scheme.empty() || scheme == "http")) continue;
        proxy.type = 1;
        proxy.host = host;
        proxy.port = static_cast<uint16_t>(ParseInt64(portText));
        found = true;
    }
    return found;
}
