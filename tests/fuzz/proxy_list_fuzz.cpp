// Feeds arbitrary text to the reader of the user's proxy list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/ProxyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProxyConfig proxy;
    const bool found = ParseProxyList(std::string_view(reinterpret_cast<const char*>(data), size), proxy);
    if (found != (proxy.type == 1) || (found && proxy.host.empty())) __builtin_trap();
    return 0;
}
