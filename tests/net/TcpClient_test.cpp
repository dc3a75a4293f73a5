#include "net/TcpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "net/TcpHttp.h"
#include "tests/net/NetPeers.h"
#include "tests/net/UserProxySettings.h"

namespace {

using namespace netpeers;

// Reaches the single connection attempt and the socket, which Connect hides.
class ProbeClient : public CTCPClient {
public:
    using CTCPClient::ConnectOnce;
    using CTCPClient::SetDns;
    using CTCPClient::SetProxy;
    using CTCPClient::Socket;

    int32_t SocketTimeout(int option) const {
        DWORD value = 0;
        int size = sizeof value;
        ::getsockopt(Socket(), SOL_SOCKET, option, reinterpret_cast<char*>(&value), &size);
        return static_cast<int32_t>(value);
    }
};

ProxyConfig HttpProxy(const char* host, uint16_t port) { return ProxyConfig{1, host, port}; }

class TcpClientTest : public NetTest {};

TEST_F(TcpClientTest, ProxyHandshakeOutcomes) {
    struct Case {
        ProxyConfig proxy;
        const char* failure;
    } cases[] = {
        {HttpProxy(kProxyHost, kTunnelProxyPort), ""},
        {HttpProxy(kProxyHost, kRefusingProxyPort), "Proxy failed"},  // 407
        {HttpProxy(kProxyHost, kShortProxyPort), "Proxy failed"},     // 11 characters or fewer
        {HttpProxy(kProxyHost, kLateProxyPort), "Can't connect proxy server"},
        {HttpProxy(kProxyHost, kDeadPort), "Can't connect proxy server"},
        {ProxyConfig{2, kProxyHost, kTunnelProxyPort}, "Proxy not support"},
    };
    for (const Case& c : cases) {
        ProbeClient client;
        client.SetServer(kHttpHost, kHttpPort);
        client.SetProxy(c.proxy);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), c.failure) << c.proxy.port;
        // The proxy's handshake is waited for 1 second, not the system's time.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.proxy.port;
    }
    EXPECT_EQ(Recorded("/CONNECT/127.0.4.1:18480"), "CONNECT 127.0.4.1:18480 HTTP/1.1\r\n\r\n");
}

TEST_F(TcpClientTest, TunnelCarriesTheRequest) {
    settings_.Get().SetProxy(HttpProxy(kProxyHost, kTunnelProxyPort));
    CTCPHttp http(kHttpHost, kDeadPort);  // only the proxy reaches it
    EXPECT_EQ(http.Get("/ok5/tunnelled", ""), "hello");
    EXPECT_EQ(http.ConnectFailures(), 0);
    EXPECT_EQ(Recorded("/CONNECT/127.0.4.1:18479"), "CONNECT 127.0.4.1:18479 HTTP/1.1\r\n\r\n");
}

TEST_F(TcpClientTest, FailedDirectConnectGoesThroughTheSystemProxyAndKeepsIt) {
    const auto user = UserProxySettings::ManualList("http=127.0.4.2:18481;https=127.0.4.2:18482");
    {
        CTCPHttp http(kHttpHost, kDeadPort);
        EXPECT_EQ(http.Get("/ok5/after-fallback", ""), "hello");
        EXPECT_EQ(http.ConnectFailures(), 1);
    }
    const ProxyConfig stored = settings_.Get().GetProxy();
    EXPECT_EQ(stored.type, 1);
    EXPECT_EQ(stored.host, kProxyHost);
    EXPECT_EQ(stored.port, kTunnelProxyPort);

    CTCPHttp next(kHttpHost, kDeadPort);  // starts with the proxy: no failure
    EXPECT_EQ(next.Get("/ok5/next", ""), "hello");
    EXPECT_EQ(next.ConnectFailures(), 0);
}

TEST_F(TcpClientTest, ReusedClientAlternatesProxyAndDirect) {
    const auto user = UserProxySettings::ManualList("http=127.0.4.2:18481");
    const ProxyConfig refusing = HttpProxy(kProxyHost, kRefusingProxyPort);
    CTCPClient client;
    client.SetServer(kHttpHost, kDeadPort);

    settings_.Get().SetProxy(refusing);
    client.Connect();  // first failure: the system proxy
    EXPECT_EQ(client.Proxy().port, kTunnelProxyPort);

    settings_.Get().SetProxy(refusing);
    EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Connect failed");  // second: direct
    EXPECT_EQ(client.Proxy().type, 0);
    EXPECT_EQ(settings_.Get().GetProxy().port, kRefusingProxyPort);  // a failure records nothing

    client.Connect();  // third: the system proxy again
    EXPECT_EQ(client.Proxy().type, 1);
    EXPECT_EQ(client.Proxy().port, kTunnelProxyPort);
    EXPECT_EQ(client.ConnectFailures(), 3);
}

TEST_F(TcpClientTest, TimeoutsApplyAtConnectAndWhenChanged) {
    ProbeClient client;
    client.SetServer(kHttpHost, kHttpPort);
    client.SetTimeouts(5000, 4000);
    client.Connect();
    EXPECT_EQ(client.SocketTimeout(SO_RCVTIMEO), 5000);
    EXPECT_EQ(client.SocketTimeout(SO_SNDTIMEO), 4000);
    client.SetTimeouts(700, 4000);
    EXPECT_EQ(client.SocketTimeout(SO_RCVTIMEO), 700);
    EXPECT_EQ(client.SocketTimeout(SO_SNDTIMEO), 4000);
}

TEST_F(TcpClientTest, UnresolvableProxyHostFailsTheAttempt) {
    if (!InPrivateNetwork()) GTEST_SKIP() << "asks the system resolver for an unknown name";
    ProbeClient client;
    client.SetServer(kHttpHost, kHttpPort);
    client.SetProxy(ProxyConfig{1, "proxy.tarvel.test", kTunnelProxyPort});
    EXPECT_EQ(FailureOf([&] { client.ConnectOnce(); }), "Can't connect proxy server");
}

TEST_F(TcpClientTest, UnknownDnsModeResolvesNothing) {
    ProbeClient client;
    client.SetDns(DnsConfig{7, "127.0.0.8"});
    EXPECT_EQ(FailureOf([&] { client.SetServer("localhost", kHttpPort); }), "Can't resolve host name");
    EXPECT_EQ(client.Address(), INADDR_NONE);
}

}  // namespace
