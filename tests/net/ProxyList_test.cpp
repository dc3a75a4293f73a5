#include "net/ProxyList.h"

#include <gtest/gtest.h>

namespace {

TEST(ProxyList, LastHttpOrSchemelessEntryWins) {
    struct Case {
        const char* list;
        bool found;
        const char* host;
        uint16_t port;
    } cases[] = {
        {"http=proxy1:8080;https=proxy2:8443", true, "proxy1", 8080},
        {"proxy3:3128", true, "proxy3", 3128},
        {"https=proxy2:8443;socks=s:1080", false, "", 0},
        {"http=a:1;b:2", true, "b", 2},
        {";;http=a:1;;", true, "a", 1},
        {"http=a", true, "a", 0},
        {"http=:80", false, "", 0},
        {"HTTP=a:1", false, "", 0},
        {"a:65617", true, "a", 81},  // truncated to 16 bits
        {"a:x", true, "a", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        ProxyConfig proxy;
        EXPECT_EQ(ParseProxyList(c.list, proxy), c.found) << c.list;
        EXPECT_EQ(proxy.type, c.found ? 1 : 0) << c.list;
        EXPECT_EQ(proxy.host, c.host) << c.list;
        EXPECT_EQ(proxy.port, c.port) << c.list;
    }
}

}  // namespace
