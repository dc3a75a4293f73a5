#include "net/HttpMessage.h"

#include <limits>

#include "sys/TextOps.h"

namespace {

constexpr std::string_view kContentLength = "Content-Length:";
constexpr size_t kStatusOffset = 9;
constexpr size_t kStatusLength = 3;
constexpr size_t kMaxChunkDigits = 8;

std::string RequestLine(std::string_view method, std::string_view path) {
    std::string line(method);
    line += ' ';
    line += path;
    line += " HTTP/1.1\r\n";
    return line;
}

std::string HostLine(std::string_view prefix, std::string_view host) {
    if (host.empty()) return {};
    std::string line(prefix);
    line += host;
    line += "\r\n";
    return line;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

}  // namespace

std::string BuildGetRequest(std::string_view path, std::string_view host) {
    return RequestLine("GET", path) + HostLine("Host: ", host) + "Connection: close\r\n\r\n";
}

std::string BuildHeadRequest(std::string_view path, std::string_view host) {
    return RequestLine("HEAD", path) + HostLine("Host:", host) + "Accept:*/*\r\n" +
           "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n" + "Connection:close\r\n" + "\r\n";
}

std::string BuildPostRequestHeader(std::string_view path, std::string_view host, std::string_view boundary,
                                   uint64_t contentLength) {
    // The boundary line in the body carries two more dashes than the header names.
    const std::string_view named = boundary.size() >= 2 ? boundary.substr(2) : boundary;
    return RequestLine("POST", path) + HostLine("Host: ", host) +
           "Content-Type: multipart/form-data; boundary=" + std::string(named) + "\r\n" +
           "Content-Length: " + std::to_string(contentLength) + "\r\n" + "Connection: close\r\n\r\n";
}

bool HeaderEndScanner::Feed(char byte) {
    static constexpr char kEnd[] = "\r\n\r\n";
    if (byte == kEnd[matched_]) {
        ++matched_;
    } else {
        matched_ = byte == '\r' ? 1 : 0;
    }
    if (matched_ < 4) return false;
    matched_ = 0;
    return true;
}

ResponseHeader ParseResponseHeader(std::string_view raw) {
    ResponseHeader header;
    header.lines = SplitAny(raw, "\r\n");
    if (!header.lines.empty() && header.lines.front().size() > kStatusOffset + 2) {
        header.status = header.lines.front().substr(kStatusOffset, kStatusLength);
    }
    for (const std::string& line : header.lines) {
        if (line.size() <= kContentLength.size() || line.compare(0, kContentLength.size(), kContentLength) != 0) {
            continue;
        }
        header.contentLength = ParseInt64(std::string_view(line).substr(kContentLength.size()));
        break;
    }
    return header;
}

int32_t ParseChunkSizeLine(std::string_view line) {
    const size_t end = line.find("\r\n");
    if (end == std::string_view::npos) return -1;
    if (end == 0) return 0;
    if (end > kMaxChunkDigits) return -1;
    uint32_t value = 0;
    for (size_t i = 0; i < end; ++i)
        value = value * 16 + static_cast<uint32_t>(HexDigitValue(line[i]));
    if (value > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return -1;
    return static_cast<int32_t>(value);
}
