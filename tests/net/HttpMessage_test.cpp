#include "net/HttpMessage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HttpRequest, FormatsDifferInBlanksAfterColons) {
    EXPECT_EQ(BuildGetRequest("/a?b=1", "h.example"),
              "GET /a?b=1 HTTP/1.1\r\nHost: h.example\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(BuildHeadRequest("/p", "h.example"),
              "HEAD /p HTTP/1.1\r\nHost:h.example\r\nAccept:*/*\r\n"
              "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\nConnection:close\r\n\r\n");
    EXPECT_EQ(BuildPostRequestHeader("/v1/x", "h.example", "-----------------------------7da1f4c300560", 143),
              "POST /v1/x HTTP/1.1\r\nHost: h.example\r\n"
              "Content-Type: multipart/form-data; boundary=---------------------------7da1f4c300560\r\n"
              "Content-Length: 143\r\nConnection: close\r\n\r\n");
}

TEST(HttpRequest, EmptyHostLeavesOutTheHostLine) {
    EXPECT_EQ(BuildGetRequest("/", ""), "GET / HTTP/1.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(BuildHeadRequest("/", "").find("Host"), std::string::npos);
    EXPECT_EQ(BuildPostRequestHeader("/", "", "--b", 0).find("Host"), std::string::npos);
}

// Index of the byte that completes the header, or -1.
int EndOfHeader(const std::string& bytes) {
    HeaderEndScanner scanner;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (scanner.Feed(bytes[i])) return static_cast<int>(i);
    }
    return -1;
}

TEST(HttpResponse, HeaderEndsAtFirstBlankLine) {
    EXPECT_EQ(EndOfHeader("HTTP/1.1 200 OK\r\n\r\nbody\r\n\r\n"), 18);
    EXPECT_EQ(EndOfHeader("A\r\r\n\r\n"), 5);  // a stray CR still starts the end
    EXPECT_EQ(EndOfHeader("A\r\n\r\r\n\r\n"), 7);
    EXPECT_EQ(EndOfHeader("A\n\nB\r\n\n"), -1);
}

TEST(HttpResponse, StatusAndContentLength) {
    struct Case {
        const char* raw;
        const char* status;
        int64_t length;
        size_t lines;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n", "200", 5, 2},
        {"HTTP/1.1 404 Not Found\r\nContent-Length:12\r\n\r\n", "404", 12, 2},
        {"HTTP/1.1 20\r\n\r\n", "", 0, 1},  // a status needs a line of 12 characters
        {"HTTP/1.1 200\r\n\r\n", "200", 0, 1},
        {"HTTP/1.1 200 OK\r\ncontent-length: 5\r\n\r\n", "200", 0, 2},  // exact case only
        {"HTTP/1.1 200 OK\r\nContent-Length:\r\n\r\n", "200", 0, 2},
        {"HTTP/1.1 200 OK\r\nContent-Length: -7\r\n\r\n", "200", -7, 2},
        {"HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 9\r\n\r\n", "200", 3, 3},
        {"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", "200", INT64_MAX, 2},
        {"\r\n\r\n", "", 0, 0},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        const ResponseHeader header = ParseResponseHeader(c.raw);
        EXPECT_EQ(header.status, c.status) << c.raw;
        EXPECT_EQ(header.contentLength, c.length) << c.raw;
        EXPECT_EQ(header.lines.size(), c.lines) << c.raw;
    }
}

TEST(HttpResponse, LinesSplitAtEveryLineEnd) {
    const ResponseHeader header = ParseResponseHeader("HTTP/1.1 302 Found\r\nLocation: /x\n\rX: y\r\n\r\n");
    ASSERT_EQ(header.lines.size(), 3u);
    EXPECT_EQ(header.lines[1], "Location: /x");
    EXPECT_EQ(header.lines[2], "X: y");
}

TEST(HttpChunked, SizeLines) {
    struct Case {
        std::string line;
        int32_t value;
    } cases[] = {
        {"1a\r\n", 26},       {"1A\r\n", 26},
        {"\r\n", 0},          {"0\r\n", 0},
        {"fFfF\r\n", 0xFFFF}, {"7fffffff\r\n", 0x7FFFFFFF},
        {"80000000\r\n", -1},                       // beyond a positive 32-bit size
        {"ffffffff\r\n", -1}, {"zz\r\n", 0},        // other characters count as 0
        {"1g\r\n", 16},       {"123456789\r", -1},  // no CR LF within the line
        {"abc", -1},          {"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseChunkSizeLine(c.line), c.value) << c.line;
}

}  // namespace
