// Feeds arbitrary bytes to the readers of HTTP replies: header end, header
// lines with status and Content-Length, and chunk-size lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/HttpMessage.h"
#include "net/NetConstants.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    HeaderEndScanner scanner;
    size_t end = 0;
    while (end < bytes.size() && end < net::kMaxResponseHeaderBytes) {
        if (scanner.Feed(bytes[end++])) break;
    }
    ParseResponseHeader(bytes.substr(0, end));
    for (size_t at = end; at < bytes.size(); at += net::kMaxChunkLineBytes) {
        const int32_t value = ParseChunkSizeLine(bytes.substr(at, net::kMaxChunkLineBytes));
        if (value < -1) __builtin_trap();
    }
    return 0;
}
