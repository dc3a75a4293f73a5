// What start-up leaves behind, seen from outside a built installer whose
// version resource says 3.97.1.2.
#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "core/AppInfo.h"
#include "core/PackageName.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "sys/TextEncoding.h"
#include "tests/support/InstallerProcess.h"

namespace {

constexpr DWORD kInstallerTimeoutMs = 60000;

std::wstring ChannelInstaller() { return BuildTreeFolder() + L"tests\\core\\TarvelSetup_abc.exe"; }

std::wstring ConfigPath() { return GetProductDataFolder() + L"config.ini"; }

std::wstring ReadConfig(const wchar_t* key) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(L"General", key, L"<missing>", buffer, 1023, ConfigPath().c_str());
    return buffer;
}

std::wstring OwnPath() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

TEST(StartupFacts, OwnVersionOverridesTheChannelOfTheName) {
    CAppInfo info;
    const std::wstring version = info.GetProductVersion(ChannelInstaller());
    ASSERT_EQ(version, L"3.97.1.2");
    const std::string name = PackageNameFromPath(WideToUtf8(ChannelInstaller()));
    EXPECT_EQ(ChannelFromPackageName(name), "abc");
    EXPECT_EQ(ChannelFromVersion(WideToUtf8(version), ChannelFromPackageName(name)), "vive3600");
    // The ordinary build's version leaves the channel of the name.
    EXPECT_EQ(ChannelFromVersion(WideToUtf8(info.GetProductVersion(InstallerPath())), "abc"), "abc");
}

TEST(StartupFacts, BeginTimeAndLauncherReachAnExistingDataFolder) {
    ASSERT_TRUE(CreateDirectoryPath(GetProductDataFolder()));
    RemoveFile(ConfigPath());
    const int64_t before = std::time(nullptr);
    const ProcessResult result = RunProgram(ChannelInstaller(), kInstallerTimeoutMs);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);

    const int64_t begin = std::stoll(WideToUtf8(ReadConfig(L"begin_timestamp")));
    EXPECT_GE(begin, before);
    EXPECT_LE(begin, static_cast<int64_t>(std::time(nullptr)));
    // This test process started the installer.
    EXPECT_EQ(_wcsicmp(ReadConfig(L"launch_appname").c_str(), OwnPath().c_str()), 0)
        << WideToUtf8(ReadConfig(L"launch_appname"));
    EXPECT_EQ(ReadConfig(L"md5"), L"");
    EXPECT_EQ(ReadConfig(L"path"), L"");
}

TEST(StartupFacts, FirstRunKeepsItsFactsInMemoryOnly) {
    DeleteTree(GetProductDataFolder());
    const ProcessResult result = RunProgram(ChannelInstaller(), kInstallerTimeoutMs);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    // The folder is created after the start facts were written.
    EXPECT_TRUE(DirectoryExists(GetProductDataFolder()));
    EXPECT_FALSE(FileExists(ConfigPath()));
}

}  // namespace
