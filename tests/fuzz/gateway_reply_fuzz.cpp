// Feeds arbitrary bytes to both gateway reply parsers; any failure must be a
// CorvanError.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "server/GatewayReply.h"
#include "sys/CorvanError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    try {
        PkgRecord record = ParsePkgInfoReply(body);
        OrderDownloadEntries(record.entries);
        if (record.size == 0 || record.installationSize == 0) __builtin_trap();
    } catch (const CorvanError&) {
    }
    try {
        ParseServerInfoReply(body);
    } catch (const CorvanError&) {
    }
    return 0;
}
