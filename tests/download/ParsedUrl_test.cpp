#include "download/ParsedUrl.h"

#include <gtest/gtest.h>

#include "sys/CorvanError.h"

TEST(ParseUrl, SplitsAuthorityAndPath) {
    const struct {
        const char* url;
        const char* host;
        int32_t port;
        const char* path;
    } cases[] = {
        {"http://host:8080/x", "host", 8080, "/x"},
        {"https://cdn.example/a/b.exe", "cdn.example", 80, "/a/b.exe"},
        {"http://h//a///b/", "h", 80, "/a/b"},
        {"ftp://127.0.0.3:18080/p?q=1", "127.0.0.3", 18080, "/p?q=1"},
    };
    for (const auto& c : cases) {
        const ParsedUrl parsed = ParseUrl(c.url);
        EXPECT_EQ(parsed.host, c.host) << c.url;
        EXPECT_EQ(parsed.port, c.port) << c.url;
        EXPECT_EQ(parsed.path, c.path) << c.url;
    }
}

TEST(ParseUrl, RefusesWhatCannotBeFetched) {
    const struct {
        const char* url;
        const char* failure;
    } cases[] = {
        {"http://host", "invalid url"},       {"http://host/", "invalid url"},    {"", "invalid url"},
        {"pkg/b.exe", "invalid url"},         {"http://a:1:2/x", "invalid host"}, {"http://a:0/x", "invalid host"},
        {"http://a:65536/x", "invalid host"}, {"http://a:-80/x", "invalid host"},
    };
    for (const auto& c : cases) {
        std::string failure;
        try {
            ParseUrl(c.url);
        } catch (const CorvanError& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, c.failure) << c.url;
    }
}
