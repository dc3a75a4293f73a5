// The installer's own resolver: one A query over UDP to one server, one answer.
//
// Threading: each call uses its own socket and buffers; calls from several
// threads may run at the same time. A call blocks for at most
// net::kDnsAnswerTimeoutSeconds and cannot be cancelled.
#pragma once

#include <cstdint>

#include "EndpointConfig.h"
#include "net/DnsPacket.h"

// 0 when the answer held at least one address, -1 otherwise (no answer in
// time, a send failure, an answer without A records, a malformed answer, a
// server text that is not a dotted IPv4 address). Never throws. Production
// asks the configured resolver on port 53; the local profile moves the port.
int ResolveViaDns(const char* server, const char* host, DnsResult* result, uint16_t port = endpoints::kDnsPort);
