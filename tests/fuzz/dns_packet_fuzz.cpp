// Feeds arbitrary datagrams to the DNS answer reader as if they answered a
// query of the length the first byte picks, and arbitrary names and texts to
// the query builder and the dotted IPv4 reader.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/DnsPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // An exact-size copy, so that any read past the datagram is caught.
    const std::vector<uint8_t> packet(data + 1, data + size);
    const size_t questionLength = 12 + data[0];
    const DnsResult result = ParseDnsAnswer(packet.data(), packet.size(), questionLength);
    if (result.count < 0 || result.count > net::kDnsMaxAddresses) __builtin_trap();

    std::string name;
    size_t next = 0;
    if (!packet.empty()) ReadDnsName(packet.data(), packet.size(), data[0] % packet.size(), name, next);

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    BuildDnsQuery(1, text);
    uint32_t address = 0;
    if (IsDottedIPv4(text, &address)) {
        char buffer[net::kIPv4TextBytes];
        FormatIPv4(address, buffer, sizeof buffer);
        if (std::string_view(buffer).size() > text.size()) __builtin_trap();
    }
    return 0;
}
