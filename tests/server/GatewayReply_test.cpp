#include "server/GatewayReply.h"

#include <gtest/gtest.h>

#include <string>

#include "sys/CorvanError.h"

namespace {

std::string FailureOf(std::string_view body, bool channel) {
    try {
        if (channel) {
            ParseServerInfoReply(body);
        } else {
            ParsePkgInfoReply(body);
        }
    } catch (const CorvanError& error) {
        return error.what();
    }
    return {};
}

}  // namespace

TEST(PkgInfoReply, SizesFallBackToDefaultsAndAbsentTextsStayEmpty) {
    const PkgRecord record =
        ParsePkgInfoReply(R"({"code":"server.success","data":{"downloadUrl":"http://h/a.exe","size":"0"}})");
    ASSERT_EQ(record.entries.size(), 1u);
    EXPECT_EQ(record.entries[0].url, "http://h/a.exe");
    EXPECT_EQ(record.size, 23068672);
    EXPECT_EQ(record.installationSize, 58990592);
    EXPECT_TRUE(record.md5.empty());
    EXPECT_TRUE(record.versionCode.empty());
}

TEST(PkgInfoReply, ReadsEveryMemberInEitherNumberForm) {
    const PkgRecord record =
        ParsePkgInfoReply(R"({"code":"server.success","data":{"softwareCode":"sc","versionCode":"3.1.0.0","md5":"abc",)"
                          R"("size":1048576,"installationSize":"99999999999 bytes"}})");
    EXPECT_EQ(record.softwareCode, "sc");
    EXPECT_EQ(record.versionCode, "3.1.0.0");
    EXPECT_EQ(record.md5, "abc");
    EXPECT_EQ(record.size, 1048576);
    EXPECT_EQ(record.installationSize, 99999999999);
    EXPECT_TRUE(record.entries.empty());
}

TEST(PkgInfoReply, FailuresNameTheirCause) {
    const struct {
        const char* body;
        const char* failure;
    } cases[] = {
        {"", "parse decrypt data error"},
        {"<html>", "parse decrypt data error"},
        {R"({"code":"server.success"} trailing)", "parse decrypt data error"},
        {R"({"data":{}})", "member not exist"},
        {R"({"code":"server.success"})", "member not exist"},
        {R"([1,2])", "member not exist"},
        {R"({"code":"server.busy","data":{}})", "request error"},
        {R"({"code":7,"data":{}})", "request error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureOf(c.body, false), c.failure) << c.body;
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(FailureOf(deep, false), "parse decrypt data error");
}

TEST(PkgInfoReply, EntriesAreOrderedBySecondIntegerStably) {
    std::vector<DownloadEntry> entries = {{0, "a", 1}, {0, "b", 5}, {0, "c", 1}, {0, "d", 9}};
    OrderDownloadEntries(entries);
    std::string order;
    for (const auto& entry : entries)
        order += entry.url;
    EXPECT_EQ(order, "dbac");
}

TEST(PkgInfoPath, CarriesVersionAndSystemWidth) {
    EXPECT_EQ(BuildPkgInfoPath("1.2.3.4", true),
              "/applicationService/installer/getAppVersion?appId=81974195&versionCode=1.2.3.4&packageSystemSupport=2");
    EXPECT_EQ(BuildPkgInfoPath("", false),
              "/applicationService/installer/getAppVersion?appId=81974195&versionCode=0.9.0.1&packageSystemSupport=1");
    EXPECT_EQ(BuildWelcomePath("abc"), "/applicationService/channel/welcome?channel=abc");
}

TEST(ServerInfoReply, NumbersBecomeTextAndTheFlagIsRead) {
    const ChannelRecord record =
        ParseServerInfoReply(R"({"code":"server.success","data":{"appId":81974195,"appName":"T","tolmarOcpc":true,)"
                             R"("advertisingAccountName":"acc"}})");
    EXPECT_EQ(record.appId, "81974195");
    EXPECT_EQ(record.appName, "T");
    EXPECT_TRUE(record.attributionWanted);
    EXPECT_EQ(record.adAccountName, "acc");
    EXPECT_EQ(record.welcomeUrl, "");
    EXPECT_TRUE(ParseServerInfoReply(R"({"code":"server.success","data":{"tolmarOcpc":2}})").attributionWanted);
}

TEST(ServerInfoReply, OtherShapesGiveAnEmptyRecordAndBadTypesFail) {
    for (const char* body :
         {R"({})", R"({"code":"server.busy","data":{"appId":"x"}})", R"({"code":"server.success"})"}) {
        const ChannelRecord record = ParseServerInfoReply(body);
        EXPECT_TRUE(record.appId.empty() && record.welcomeUrl.empty() && !record.attributionWanted) << body;
    }
    EXPECT_EQ(FailureOf("", true), "parse decrypt data error");
    EXPECT_EQ(FailureOf(R"({"code":1,"data":{}})", true), "unexpected member type");
    EXPECT_EQ(FailureOf(R"({"code":"server.success","data":{"tolmarOcpc":"yes"}})", true), "unexpected member type");
}
