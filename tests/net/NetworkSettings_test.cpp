#include "net/NetworkSettings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/net/NetPeers.h"
#include "tests/support/RecordingLogger.h"
#include "tests/net/UserProxySettings.h"

namespace {

using namespace netpeers;

class NetworkSettingsTest : public NetTest {
protected:
    ProxyConfig Discover() {
        ProxyConfig proxy{1, "stale", 1};
        DiscoverSystemProxy("http://127.0.4.1", proxy);
        return proxy;
    }
};

TEST_F(NetworkSettingsTest, ManualListNamesTheHttpProxy) {
    const auto user = UserProxySettings::ManualList("http=proxy1:8080;https=proxy2:8443");
    const ProxyConfig proxy = Discover();
    EXPECT_EQ(proxy.type, 1);
    EXPECT_EQ(proxy.host, "proxy1");
    EXPECT_EQ(proxy.port, 8080);
}

TEST_F(NetworkSettingsTest, NoSettingsOrOnlyOtherSchemesGoDirect) {
    EXPECT_EQ(Discover().type, 0);
    const auto user = UserProxySettings::ManualList("https=proxy2:8443;socks=s:1080");
    const ProxyConfig proxy = Discover();
    EXPECT_EQ(proxy.type, 0);
    EXPECT_EQ(proxy.host, "stale");  // only a found proxy changes host and port
}

TEST_F(NetworkSettingsTest, AutoConfigScriptDecides) {
    {
        const auto user = UserProxySettings::AutoConfig("http://127.0.4.1:18480/pac-direct/proxy.pac");
        EXPECT_EQ(Discover().type, 0);
    }
    const auto user = UserProxySettings::AutoConfig("http://127.0.4.1:18480/pac-proxy/proxy.pac");
    const ProxyConfig proxy = Discover();
    EXPECT_EQ(proxy.type, 1);
    EXPECT_EQ(proxy.host, kProxyHost);
    EXPECT_EQ(proxy.port, kTunnelProxyPort);
}

TEST_F(NetworkSettingsTest, EachKindOfSwitchIsReportedOnceAndAlwaysStored) {
    RecordingLogger logger;
    RecordProxy(ProxyConfig{1, "proxy1", 8080}, &logger);
    RecordProxy(ProxyConfig{0, "", 0}, &logger);
    RecordDns(DnsConfig{1, "127.0.0.8"}, &logger);
    RecordDns(DnsConfig{1, "127.0.0.9"}, &logger);

    EXPECT_EQ(settings_.Get().GetProxy().type, 0);
    EXPECT_EQ(settings_.Get().GetDns().server, "127.0.0.9");
    ASSERT_EQ(logger.events.size(), 2u);
    for (const auto& event : logger.events)
        EXPECT_EQ(event.name, "vNetworkCheck");
    EXPECT_EQ(logger.events[0].texts.at("network_type"), "网络代理");
    EXPECT_EQ(logger.events[0].ints.at("conn_type"), 1);
    EXPECT_EQ(logger.events[0].texts.at("host_name"), "proxy1");
    EXPECT_EQ(logger.events[1].texts.at("network_type"), "DNS解析");
    EXPECT_EQ(logger.events[1].ints.at("conn_type"), 1);
    EXPECT_EQ(logger.events[1].texts.at("host_name"), "127.0.0.8");
}

TEST_F(NetworkSettingsTest, ChannelIsCopiedUnderTheLock) {
    settings_.Get().SetChannel("web_12");
    std::string channel;
    GetChannel(channel);
    EXPECT_EQ(channel, "web_12");
}

}  // namespace
