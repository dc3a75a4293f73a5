// DNS packets of the own resolver (one A query, class IN, over UDP) and dotted
// IPv4 text. Platform-free: the socket side lives in DnsClient.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/NetConstants.h"

struct DnsResult {
    int32_t count = 0;
    uint32_t addresses[net::kDnsMaxAddresses] = {};  // network byte order
};

// The query for the A record of host, with the given identifier stored in the
// machine's byte order. Empty when the host cannot be written as DNS labels
// (empty name or label, a label over 63 bytes, a name over 253 bytes).
std::string BuildDnsQuery(uint16_t identifier, std::string_view host);

// Reads the A records of an answer to a query of questionLength bytes (the
// whole query, header included). Only the first kDnsMaxAddresses answers are
// looked at. A packet whose records or names run past its end, or whose
// compression pointers loop, counts as an answer without addresses.
DnsResult ParseDnsAnswer(const uint8_t* packet, size_t size, size_t questionLength);

// The name at offset, with compression pointers followed, as dotted text
// without the final dot. On success also gives the offset just after the
// name where it is written in place. False when it runs past the packet, its
// pointers loop or it grows beyond the longest legal name.
bool ReadDnsName(const uint8_t* packet, size_t size, size_t offset, std::string& name, size_t& next);

// A strict dotted IPv4 address: digits and dots only, four parts of 0 to 255,
// no empty part. Gives the address in network byte order.
bool IsDottedIPv4(std::string_view text, uint32_t* address = nullptr);

// Dotted decimal text of a network-order address into buffer; nothing is
// written (and false returned) when the buffer is smaller than kIPv4TextBytes.
bool FormatIPv4(uint32_t address, char* buffer, size_t size);
