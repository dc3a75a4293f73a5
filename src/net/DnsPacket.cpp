#include "net/DnsPacket.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 12;
constexpr uint8_t kRecursionDesired = 0x01;
constexpr uint16_t kTypeA = 1;
constexpr uint16_t kClassIn = 1;
constexpr size_t kMaxLabelBytes = 63;
constexpr size_t kMaxNameBytes = 253;
constexpr uint8_t kPointerMark = 0xC0;
// Pointers can form a loop; no legal name needs more jumps than this.
constexpr int kMaxPointerJumps = 64;
constexpr size_t kRecordFixedBytes = 10;  // type, class, time-to-live, data length

void PutUint16(std::string& out, uint16_t value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}

uint16_t GetUint16(const uint8_t* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }

bool AppendLabels(std::string& out, std::string_view host) {
    if (host.empty() || host.size() > kMaxNameBytes) return false;
    size_t start = 0;
    while (start <= host.size()) {
        size_t dot = host.find('.', start);
        if (dot == std::string_view::npos) dot = host.size();
        const size_t length = dot - start;
        if (length == 0 || length > kMaxLabelBytes) return false;
        out += static_cast<char>(length);
        out.append(host.substr(start, length));
        start = dot + 1;
    }
    out += '\0';
    return true;
}

}  // namespace

std::string BuildDnsQuery(uint16_t identifier, std::string_view host) {
    std::string query(sizeof identifier, '\0');
    std::memcpy(query.data(), &identifier, sizeof identifier);
    query += static_cast<char>(kRecursionDesired);
    query += '\0';
    PutUint16(query, 1);  // one question
    PutUint16(query, 0);
    PutUint16(query, 0);
    PutUint16(query, 0);
    if (!AppendLabels(query, host)) return {};
    PutUint16(query, kTypeA);
    PutUint16(query, kClassIn);
    return query;
}

bool ReadDnsName(const uint8_t* packet, size_t size, size_t offset, std::string& name, size_t& next) {
    name.clear();
    bool jumped = false;
    int jumps = 0;
    for (;;) {
        if (offset >= size) return false;
        const uint8_t length = packet[offset];
        if (length >= kPointerMark) {
            if (offset + 1 >= size || ++jumps > kMaxPointerJumps) return false;
            if (!jumped) next = offset + 2;
            jumped = true;
            offset = static_cast<size_t>(length - kPointerMark) * 256 + packet[offset + 1];
            continue;
        }
        if (length == 0) {
            if (!jumped) next = offset + 1;
            return true;
        }
        if (length > kMaxLabelBytes || offset + 1 + length > size) return false;
        if (!name.empty()) name += '.';
        name.append(reinterpret_cast<const char*>(packet + offset + 1), length);
        if (name.size() > kMaxNameBytes) return false;
        offset += 1 + length;
    }
}

DnsResult ParseDnsAnswer(const uint8_t* packet, size_t size, size_t questionLength) {
    DnsResult result;
    if (packet == nullptr || size < kHeaderBytes || questionLength < kHeaderBytes || questionLength > size) {
        return result;
    }
    int32_t answers = GetUint16(packet + 6);
    if (answers > net::kDnsMaxAddresses) answers = net::kDnsMaxAddresses;

    size_t offset = questionLength;
    for (int32_t i = 0; i < answers; ++i) {
        std::string name;
        if (!ReadDnsName(packet, size, offset, name, offset)) return DnsResult{};
        if (size - offset < kRecordFixedBytes) return DnsResult{};
        const uint16_t type = GetUint16(packet + offset);
        const uint16_t dataLength = GetUint16(packet + offset + 8);
        offset += kRecordFixedBytes;
        if (size - offset < dataLength) return DnsResult{};
        if (type == kTypeA) {
            if (dataLength < sizeof(uint32_t)) return DnsResult{};
            std::memcpy(&result.addresses[result.count++], packet + offset, sizeof(uint32_t));
        }
        offset += dataLength;
    }
    return result;
}

bool IsDottedIPv4(std::string_view text, uint32_t* address) {
    uint8_t bytes[4] = {};
    int part = 0;
    int digits = 0;
    unsigned value = 0;
    for (const char c : text) {
        if (c == '.') {
            if (digits == 0 || part == 3) return false;
            bytes[part++] = static_cast<uint8_t>(value);
            digits = 0;
            value = 0;
            continue;
        }
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (++digits > 3 || value > 255) return false;
    }
    if (digits == 0 || part != 3) return false;
    bytes[3] = static_cast<uint8_t>(value);
    if (address != nullptr) std::memcpy(address, bytes, sizeof bytes);
    return true;
}

bool FormatIPv4(uint32_t address, char* buffer, size_t size) {
    if (buffer == nullptr || size < net::kIPv4TextBytes) return false;
    uint8_t bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    std::snprintf(buffer, size, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    return true;
}
