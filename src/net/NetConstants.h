// Time-outs, retry counts and buffer sizes of the network stack, in one place.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace net {

// A proxy that has not accepted the TCP connection within this time is given up.
inline constexpr long kProxyConnectTimeoutSeconds = 1;
// The CONNECT request and the proxy's one reply are handled in buffers of this
// size; the reply is read with one recv of at most kProxyBufferBytes - 1 bytes.
inline constexpr size_t kProxyBufferBytes = 1024;

// Response headers longer than this are cut; the lines found so far are used.
inline constexpr size_t kMaxResponseHeaderBytes = 4096;
// A chunk-size line longer than this without CR LF is malformed.
inline constexpr size_t kMaxChunkLineBytes = 10;
// Replies read by the HTTP client are small JSON texts and banner images of a
// few hundred kilobytes; packages go through the download worker instead. A
// server-sent length above this would only make us allocate what it names,
// so such a reply is treated as broken.
inline constexpr int64_t kMaxReplyBodyBytes = 16 * 1024 * 1024;

// The own DNS client waits this long for the one answer to its one query.
inline constexpr long kDnsAnswerTimeoutSeconds = 3;
// Only the first addresses of an answer are kept.
inline constexpr int32_t kDnsMaxAddresses = 20;
// A UDP datagram never exceeds this; queries are built in and answers read into it.
inline constexpr size_t kDnsPacketBytes = 65536;
// A dotted IPv4 text needs at most 15 characters and its NUL.
inline constexpr size_t kIPv4TextBytes = 16;

}  // namespace net
