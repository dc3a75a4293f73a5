#include "core/PackageName.h"

#include <gtest/gtest.h>

namespace {

struct ChannelCase {
    const char* path;
    const char* packageName;
    const char* channel;
};

const ChannelCase kChannelCases[] = {
    {"C:\\Downloads\\Setup_U12345678901.exe", "Setup_U12345678901", "12345678"},
    {"C:\\Downloads\\Setup_abc.exe", "Setup_abc", "abc"},
    {"C:\\Downloads\\Setup_.exe", "Setup_", ""},
    {"C:\\Downloads\\Setup.exe", "Setup", ""},
    {"C:\\Downloads\\a_b_c.exe", "a_b_c", "b_c"},
    {"C:\\Downloads\\Setup_U.exe", "Setup_U", ""},
    {"C:\\Downloads\\Setup_u12.exe", "Setup_u12", "u12"},
    {"C:\\下载\\安装_渠道.exe", "安装_渠道", "渠道"},
    {"Setup_abc.exe", "", ""},
    {"C:\\x\\.ex", "", ""},
};

TEST(PackageName, NameAndChannelFromOwnPath) {
    for (const ChannelCase& c : kChannelCases) {
        SCOPED_TRACE(c.path);
        const std::string name = PackageNameFromPath(c.path);
        EXPECT_EQ(name, c.packageName);
        EXPECT_EQ(ChannelFromPackageName(name), c.channel);
    }
}

TEST(PackageName, VersionOverridesChannel) {
    struct Case {
        const char* version;
        const char* channel;
    };
    const Case cases[] = {
        {"3.96.0.1", "ravorid0"}, {"3.97.1.2", "vive3600"}, {"1.98.0.0", "zivezev0"},  {"3.99.5.5", "vurazu00"},
        {"3.97.1", "file"},       {"3.100.1.2", "file"},    {"3.95.1.2", "file"},      {"", "file"},
        {"3.x.1.2", "file"},      {"3.97.1.2.5", "file"},   {"3.097.1.2", "vive3600"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        EXPECT_EQ(ChannelFromVersion(c.version, "file"), c.channel);
    }
}

}  // namespace
