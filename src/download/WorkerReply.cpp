#include "download/WorkerReply.h"

#include <cstring>

#include "sys/TextOps.h"

namespace {

constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kLocation = "Location:";
constexpr size_t kStatusIndex = 9;
constexpr size_t kStatusChars = 3;
constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";

// The text up to the first NUL, less as many bytes as it starts with line ends.
size_t HeaderTextLength(std::string_view buffered) {
    const size_t text = std::min(buffered.size(), buffered.find('\0'));
    size_t leading = 0;
    while (leading < text && (buffered[leading] == '\r' || buffered[leading] == '\n'))
        ++leading;
    return text - leading;
}

std::vector<std::string> LocationTargets(const std::vector<std::string>& lines) {
    std::vector<std::string> targets;
    for (const std::string& line : lines) {
        if (line.compare(0, kLocation.size(), kLocation) == 0)
            targets.push_back(TrimLeft(std::string_view(line).substr(kLocation.size()), " "));
    }
    return targets;
}

// A status that could not be read (a header whose first piece was dropped)
// is taken on trust, as before; one that was read must name our range.
bool CarriesRange(int64_t status, int64_t rangeStart) {
    return status == 0 || status == 206 || (status == 200 && rangeStart == 0);
}

}  // namespace

std::string BuildRangeRequest(std::string_view path, std::string_view host, int64_t next, int64_t last) {
    std::string request;
    request.reserve(path.size() + host.size() + 200);
    request.append("GET ").append(path).append(" HTTP/1.1\r\n");
    request.append("Host:").append(host).append("\r\n");
    request.append("Accept:*/*\r\n");
    request.append("Range:bytes=").append(FormatInt64(next)).append("-").append(FormatInt64(last)).append("\r\n");
    request.append("User-Agent:").append(kUserAgent).append("\r\n");
    request.append("Connection:close\r\n\r\n");
    return request;
}

ReplyHead InspectReplyHead(std::string_view buffered, int64_t rangeStart) {
    ReplyHead head;
    const size_t textLength = HeaderTextLength(buffered);
    int64_t status = 0;
    if (textLength > 0) {
        const std::vector<std::string> lines = SplitAny(buffered.substr(0, textLength), "\r\n");
        if (lines.size() > 1) {
            status =
                ParseInt64(std::string_view(lines[0]).substr(std::min(lines[0].size(), kStatusIndex), kStatusChars));
            if (status >= 300 && status <= 399) {
                head.kind = ReplyHead::Kind::kRedirect;
                head.locations = LocationTargets(lines);
                return head;
            }
        }
    }
    const size_t end = buffered.find(kHeaderEnd);
    if (end == std::string_view::npos) return head;
    head.kind = CarriesRange(status, rangeStart) ? ReplyHead::Kind::kBody : ReplyHead::Kind::kRefused;
    head.bodyOffset = end + kHeaderEnd.size();
    return head;
}
