// Feeds arbitrary bytes to everything the download engine reads from a
// server: URLs and Location targets, HEAD header lines, the file name a
// server proposes, and the worker's reply header.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "download/DownloadPlan.h"
#include "download/ParsedUrl.h"
#include "download/UrlReply.h"
#include "download/WorkerReply.h"
#include "sys/CorvanError.h"
#include "sys/TextOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = SplitAny(bytes, "\r\n");
    try {
        const ParsedUrl url = ParseUrl(bytes);
        if (url.port <= 0 || url.port > 65535 || url.path.empty() || url.path[0] != '/') __builtin_trap();
    } catch (const CorvanError&) {
    }
    ContentLengthFromHeaders(lines);
    RedirectTarget(lines, "h", 80);
    const std::string name = FileNameFromHeaders(lines);
    const std::wstring safe = SafePackageFileName(std::wstring(name.begin(), name.end()));
    if (safe.find_first_of(L"\\/:") != std::wstring::npos || safe == L"." || safe == L"..") __builtin_trap();
    const ReplyHead head = InspectReplyHead(bytes, 0);
    if (head.bodyOffset > bytes.size()) __builtin_trap();
    const size_t half = size / 2;
    VersionAtLeast(bytes.substr(0, half), bytes.substr(half));
    return 0;
}
