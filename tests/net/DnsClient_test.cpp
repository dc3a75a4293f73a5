#include "net/DnsClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "EndpointConfig.h"
#include "net/TcpHttp.h"
#include "tests/net/NetPeers.h"

namespace {

using namespace netpeers;

std::string Dotted(uint32_t address) {
    char text[16];
    FormatIPv4(address, text, sizeof text);
    return text;
}

class DnsClientTest : public NetTest {
protected:
    int Resolve(const char* host, DnsResult& result) { return ResolveViaDns(endpoints::kDnsServer, host, &result); }
};

TEST_F(DnsClientTest, AnswersFromTheServer) {
    DnsResult result;
    ASSERT_EQ(Resolve("cname.tarvel.test", result), 0);
    ASSERT_EQ(result.count, 2);
    EXPECT_EQ(Dotted(result.addresses[0]), "127.0.0.11");
    EXPECT_EQ(Dotted(result.addresses[1]), "127.0.0.12");

    ASSERT_EQ(Resolve("many.tarvel.test", result), 0);
    EXPECT_EQ(result.count, 20);
    EXPECT_EQ(Dotted(result.addresses[19]), "127.0.1.19");
}

TEST_F(DnsClientTest, AnswersWithoutUsableAddresses) {
    for (const char* host : {"cut.tarvel.test", "loop.tarvel.test", "empty.tarvel.test", "unknown.tarvel.test"}) {
        DnsResult result;
        EXPECT_EQ(Resolve(host, result), -1) << host;
        EXPECT_EQ(result.count, 0) << host;
    }
    DnsResult result;
    EXPECT_EQ(ResolveViaDns("127.0.0.256", "cname.tarvel.test", &result), -1);
    EXPECT_EQ(ResolveViaDns(endpoints::kDnsServer, "a..b", &result), -1);
    EXPECT_EQ(ResolveViaDns(endpoints::kDnsServer, nullptr, &result), -1);
}

TEST_F(DnsClientTest, SilentServerGivesUpAfterThreeSeconds) {
    DnsResult result;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Resolve("silent.tarvel.test", result), -1);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(2900));
    EXPECT_LT(waited, std::chrono::seconds(10));
}

TEST_F(DnsClientTest, OwnResolverModeUsesTheDottedAnswerAsHost) {
    settings_.Get().SetDns(DnsConfig{1, endpoints::kDnsServer});
    CTCPHttp http("localhost", kHttpPort);  // the test server says 127.0.4.1, the system 127.0.0.1
    EXPECT_EQ(http.Host(), "127.0.4.1");
    EXPECT_EQ(http.Get("/ok5/own-resolver", ""), "hello");
}

TEST_F(DnsClientTest, NameOnlyTheOwnResolverKnowsSwitchesTheProcessToIt) {
    if (!InPrivateNetwork()) GTEST_SKIP() << "asks the system resolver for an unknown name";
    const auto start = std::chrono::steady_clock::now();
    CTCPHttp http("fallback.tarvel.test", kHttpPort);
    // The system resolver fails at once here: there is no route off the machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(http.Host(), "127.0.4.1");
    EXPECT_EQ(http.Get("/ok5/fallback", ""), "hello");
    const DnsConfig stored = settings_.Get().GetDns();
    EXPECT_EQ(stored.mode, 1);
    EXPECT_EQ(stored.server, endpoints::kDnsServer);

    CTCPHttp next("localhost", kHttpPort);  // asks the own resolver first now
    EXPECT_EQ(next.Host(), "127.0.4.1");
    EXPECT_EQ(next.Dns().mode, 1);
}

TEST_F(DnsClientTest, NameNoResolverKnowsCannotBeResolved) {
    if (!InPrivateNetwork()) GTEST_SKIP() << "asks the system resolver for an unknown name";
    EXPECT_EQ(FailureOf([] { CTCPHttp http("unknown.tarvel.test", kHttpPort); }), "Can't resolve host name");
    EXPECT_EQ(settings_.Get().GetDns().mode, 0);
}

}  // namespace
