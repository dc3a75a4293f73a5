// The byte formats of the HTTP client: the three request kinds, and the reading
// of response headers and chunk-size lines. Platform-free: the socket side
// lives in CTCPHttp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The three request kinds write their header lines differently (blank after
// the colon or not, extra headers for HEAD); servers have been seen to depend
// on it, so each is kept byte for byte. An empty host leaves out the Host line.
std::string BuildGetRequest(std::string_view path, std::string_view host);
std::string BuildHeadRequest(std::string_view path, std::string_view host);
std::string BuildPostRequestHeader(std::string_view path, std::string_view host, std::string_view boundary,
                                   uint64_t contentLength);

struct ResponseHeader {
    std::vector<std::string> lines;  // without line ends, empty lines dropped
    std::string status;              // three characters, or empty
    int64_t contentLength = 0;       // 0 when no usable Content-Length line
};

// Watches the header bytes one at a time for the CR LF CR LF that ends it.
class HeaderEndScanner {
public:
    // True when this byte completes the end of the header.
    bool Feed(char byte);

private:
    int matched_ = 0;  // bytes of CR LF CR LF seen in a row
};

ResponseHeader ParseResponseHeader(std::string_view raw);

// The value of a chunk-size line as received (with its CR LF): -1 when it holds
// no CR LF or names a size beyond a positive 32-bit value, 0 for an empty line,
// otherwise the hexadecimal size in front of the CR LF (other characters count
// as the digit 0).
int32_t ParseChunkSizeLine(std::string_view line);
