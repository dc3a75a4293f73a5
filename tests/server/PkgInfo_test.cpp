#include "server/PkgInfo.h"

#include <gtest/gtest.h>

#include "tests/download/LocalCloud.h"

using cloud::CloudTest;

namespace {

class PkgInfoTest : public CloudTest {
protected:
    bool WaitForAnswer(CPkgInfo& info) {
        return WaitUntil([&] { return info.GetStatus() != IPkgInfo::kRunning; }, 20000);
    }
};

}  // namespace

TEST_F(PkgInfoTest, StoresTheGatewaysAnswer) {
    cloud::Set("version_code=3.6.0.1&package_size=1048576");
    CPkgInfo info;
    ASSERT_TRUE(WaitForAnswer(info));
    EXPECT_EQ(info.GetStatus(), IPkgInfo::kDone);
    EXPECT_STREQ(info.GetVersionCode(), "3.6.0.1");
    EXPECT_EQ(info.GetPackageSize(), 1048576);
    EXPECT_EQ(info.GetInstallationSize(), 58990592);
    ASSERT_EQ(info.GetUrlCount(), 1);
    EXPECT_STREQ(info.GetUrl(0), "http://127.0.0.3:18080/pkg/tarvel_setup.exe");
    EXPECT_EQ(info.GetUrl(1), nullptr);
    ASSERT_NE(info.GetMd5(), nullptr);
    EXPECT_EQ(std::string(info.GetMd5()).size(), 32u);

    const auto requests = cloud::Requests("gateway_name");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/applicationService/installer/getAppVersion");
    EXPECT_EQ(requests[0].query.rfind("appId=81974195&versionCode=", 0), 0u) << requests[0].query;
    EXPECT_EQ(requests[0].host, endpoints::kGatewayHost);
    EXPECT_TRUE(cloud::Requests("gateway_fallback").empty());

    info.Reset();
    EXPECT_EQ(info.GetVersionCode(), nullptr);
    EXPECT_EQ(info.GetUrlCount(), 0);
    EXPECT_EQ(info.GetPackageSize(), 0);
}

TEST_F(PkgInfoTest, GatewayDownByNameIsAskedAtItsFallbackAddress) {
    cloud::Set("gateway_name=down");
    CPkgInfo info;
    ASSERT_TRUE(WaitForAnswer(info));
    EXPECT_EQ(info.GetStatus(), IPkgInfo::kDone);
    const auto requests = cloud::Requests("gateway_fallback");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].host, endpoints::kGatewayFallbackIp);
}

TEST_F(PkgInfoTest, AnAnswerThatIsNoSuccessEndsTheQuery) {
    for (const char* scenario : {"pkg_code=server.busy", "pkg_body=<html>busy</html>", "pkg_body={\"code\":1}"}) {
        cloud::Control("reset");
        cloud::Set(scenario);
        CPkgInfo info;
        ASSERT_TRUE(WaitForAnswer(info));
        EXPECT_EQ(info.GetStatus(), IPkgInfo::kFailed) << scenario;
        ::Sleep(400);
        EXPECT_EQ(cloud::Requests("gateway_name").size(), 1u) << scenario;
    }
}

TEST_F(PkgInfoTest, KeepsAskingWhileBothAddressesAreDownUntilStopped) {
    cloud::Set("gateway_name=down&gateway_fallback=down");
    {
        CPkgInfo info;
        ::Sleep(1500);
        EXPECT_EQ(info.GetStatus(), IPkgInfo::kRunning);
    }
    size_t byName = 0, atFallback = 0;
    for (const auto& request : cloud::Log()) {
        byName += request.role == "gateway_name";
        atFallback += request.role == "gateway_fallback";
    }
    EXPECT_GE(byName, 3u);
    EXPECT_GE(atFallback, 3u);
}
