#include "server/ServerInfo.h"

#include <gtest/gtest.h>

#include "tests/download/LocalCloud.h"

using cloud::CloudTest;

namespace {

class ServerInfoTest : public CloudTest {
protected:
    bool WaitForAnswer(CServerInfo& info) {
        return WaitUntil([&] { return info.GetStatus() != IServerInfo::kRunning; }, 20000);
    }
};

}  // namespace

TEST_F(ServerInfoTest, StoresTheChannelsAnswer) {
    settings_.Get().SetChannel("abc");
    CServerInfo info;
    ASSERT_TRUE(WaitForAnswer(info));
    EXPECT_EQ(info.GetStatus(), IServerInfo::kDone);
    EXPECT_STREQ(info.GetAppId(), "81974195");
    EXPECT_STREQ(info.GetAppName(), "Tarvel");
    EXPECT_STREQ(info.GetAdAccountName(), "local-account");
    EXPECT_TRUE(info.IsAttributionWanted());
    EXPECT_STREQ(info.GetWelcomeUrl(), "http://127.0.0.7:18080/welcome");
    info.ClearWelcomeUrl();
    EXPECT_STREQ(info.GetWelcomeUrl(), "");
    const auto requests = cloud::Requests("gateway_name");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path + "?" + requests[0].query, "/applicationService/channel/welcome?channel=abc");
}

TEST_F(ServerInfoTest, NoChannelMeansNoQuery) {
    CServerInfo info;
    ASSERT_TRUE(WaitForAnswer(info));
    EXPECT_EQ(info.GetStatus(), IServerInfo::kDone);
    EXPECT_STREQ(info.GetAppId(), "");
    EXPECT_TRUE(cloud::Log().empty());
}

TEST_F(ServerInfoTest, TheThirdAttemptIsTheLast) {
    settings_.Get().SetChannel("abc");
    cloud::Set("welcome_fail=2");
    const DWORD start = ::GetTickCount();
    {
        CServerInfo info;
        ASSERT_TRUE(WaitForAnswer(info));
        EXPECT_EQ(info.GetStatus(), IServerInfo::kDone);
        EXPECT_STREQ(info.GetAppId(), "81974195");
    }
    EXPECT_GE(::GetTickCount() - start, 600u);

    cloud::Control("reset");
    cloud::Set("welcome_fail=3");
    CServerInfo failing;
    ASSERT_TRUE(WaitForAnswer(failing));
    EXPECT_EQ(failing.GetStatus(), IServerInfo::kFailed);
}

TEST_F(ServerInfoTest, AWrongFlagTypeFailsTheQuery) {
    settings_.Get().SetChannel("abc");
    cloud::Set("welcome_body={\"code\":\"server.success\",\"data\":{\"tolmarOcpc\":\"yes\"}}");
    CServerInfo info;
    ASSERT_TRUE(WaitForAnswer(info));
    EXPECT_EQ(info.GetStatus(), IServerInfo::kFailed);
}
