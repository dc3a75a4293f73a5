#include "core/CacheConfig.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <sstream>
#include <string>

#include "download/Md5.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring ReadProfile(const std::wstring& file, const wchar_t* key) {
    wchar_t buffer[1024] = {};
    ::GetPrivateProfileStringW(L"General", key, L"<missing>", buffer, 1023, file.c_str());
    return buffer;
}

std::string FileBytes(const std::wstring& path) {
    CFileStream file(CorvanFileOpen(kOpenReadShared, path));
    std::string bytes(static_cast<size_t>(file.GetSize()), '\0');
    if (!bytes.empty()) file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

// What a reader that knows nothing of the profile functions sees: "[General]"
// and then key=value lines.
std::map<std::string, std::string> PlainIniSection(const std::wstring& path, const std::string& section) {
    std::istringstream in(FileBytes(path));
    std::map<std::string, std::string> values;
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
        } else if (current == section && line.find('=') != std::string::npos) {
            values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return values;
}

std::wstring WritePackage(const ScratchFolder& scratch, const std::wstring& name, const std::string& content) {
    const std::wstring path = scratch.Path(name);
    CFileStream file(CorvanFileCreate(path));
    file.Write(content.data(), static_cast<uint32_t>(content.size()));
    return path;
}

std::wstring DigestOf(const std::string& content) {
    const std::string digest = Md5OfBytes(content.data(), static_cast<std::ptrdiff_t>(content.size()));
    return std::wstring(digest.begin(), digest.end());
}

std::wstring UpperCase(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(::towupper(c));
    return text;
}

void WriteCachedEntry(const std::wstring& config, const std::wstring& md5, const std::wstring& path) {
    ::WritePrivateProfileStringW(L"General", L"md5", md5.c_str(), config.c_str());
    ::WritePrivateProfileStringW(L"General", L"path", path.c_str(), config.c_str());
}

TEST(CacheConfig, EverySetterWritesItsKeyUnderGeneral) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"config.ini");
    CCacheConfig config(file);
    config.SetLaunchAppName(L"C:\\windows\\explorer.exe");
    config.SetIsSem(true);
    config.SetAppId(L"81974195");
    config.SetChannelId(L"vive3600");
    config.SetMid(L"mid-1");
    config.SetInstall();
    config.SetWelcomeUrl(L"http://127.0.0.1/welcome?_channel=vive3600");
    config.SetBeginTimestamp(L"1700000000");
    config.SetEndTimestamp(L"1700000100");
    config.SetCam(L"0123456789abcdef0123456789abcdef");
    config.SetSessionId(L"fedcba9876543210fedcba9876543210");
    config.SetAppVersion(L"3.6.13.246");
    config.SetAdvertisingAccountName(L"account");

    const std::map<std::string, std::string> expected = {
        {"md5", ""},
        {"path", ""},
        {"launch_appname", "C:\\windows\\explorer.exe"},
        {"is_sem", "1"},
        {"app_id", "81974195"},
        {"channel_id", "vive3600"},
        {"mid", "mid-1"},
        {"install", "1"},
        {"welcome_url", "http://127.0.0.1/welcome?_channel=vive3600"},
        {"begin_timestamp", "1700000000"},
        {"end_timestamp", "1700000100"},
        {"cam", "0123456789abcdef0123456789abcdef"},
        {"session_id", "fedcba9876543210fedcba9876543210"},
        {"app_version", "3.6.13.246"},
        {"advertising_account_name", "account"},
    };
    EXPECT_EQ(PlainIniSection(file, "General"), expected) << FileBytes(file);
    for (size_t i = 0; i < static_cast<size_t>(ConfigKey::kCount); ++i) {
        const ConfigKey key = static_cast<ConfigKey>(i);
        const std::string name = Narrow(ConfigKeyName(key));
        EXPECT_EQ(Narrow(ReadProfile(file, ConfigKeyName(key))), expected.at(name)) << name;
        EXPECT_EQ(Narrow(config.Value(key)), expected.at(name)) << name;
    }
    config.SetIsSem(false);
    EXPECT_EQ(ReadProfile(file, L"is_sem"), L"0");
}

TEST(CacheConfig, ConditionalSettersIgnoreEmptyValues) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"config.ini");
    CCacheConfig config(file);
    using Setter = void (CCacheConfig::*)(const std::wstring&);
    const std::pair<Setter, const wchar_t*> conditional[] = {
        {&CCacheConfig::SetLaunchAppName, L"launch_appname"},
        {&CCacheConfig::SetChannelId, L"channel_id"},
        {&CCacheConfig::SetMid, L"mid"},
        {&CCacheConfig::SetWelcomeUrl, L"welcome_url"},
        {&CCacheConfig::SetEndTimestamp, L"end_timestamp"},
        {&CCacheConfig::SetCam, L"cam"},
        {&CCacheConfig::SetSessionId, L"session_id"},
        {&CCacheConfig::SetAppVersion, L"app_version"},
        {&CCacheConfig::SetAdvertisingAccountName, L"advertising_account_name"},
    };
    for (const auto& [setter, key] : conditional) {
        (config.*setter)(L"kept");
        (config.*setter)(L"");
        EXPECT_EQ(ReadProfile(file, key), L"kept") << Narrow(key);
    }
    // The unconditional ones write even an empty value.
    config.SetBeginTimestamp(L"");
    config.SetAppId(L"");
    EXPECT_EQ(ReadProfile(file, L"begin_timestamp"), L"");
    EXPECT_EQ(ReadProfile(file, L"app_id"), L"");
}

TEST(CacheConfig, WritesWithoutTheFolderStayInMemory) {
    ScratchFolder scratch;
    const std::wstring folder = scratch.Path(L"TARVELAPP\\");
    const std::wstring file = folder + L"config.ini";
    CCacheConfig config(file);
    config.SetBeginTimestamp(L"1700000000");
    config.SetLaunchAppName(L"C:\\windows\\explorer.exe");
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(config.Value(ConfigKey::kBeginTimestamp), L"1700000000");
    EXPECT_EQ(config.LaunchAppName(), L"C:\\windows\\explorer.exe");

    ASSERT_TRUE(CreateDirectoryPath(folder));
    config.SetInstall();
    EXPECT_EQ(ReadProfile(file, L"install"), L"1");
    EXPECT_EQ(ReadProfile(file, L"begin_timestamp"), L"<missing>");
}

TEST(CacheConfig, NewFileGetsEmptyCacheKeys) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"config.ini");
    CCacheConfig config(file);
    EXPECT_EQ(ReadProfile(file, L"md5"), L"");
    EXPECT_EQ(ReadProfile(file, L"path"), L"");
    EXPECT_TRUE(config.CachedMd5().empty());
    EXPECT_EQ(config.FilePath(), file);
}

TEST(CacheConfig, InitialisationKeepsOnlyAVerifiedPackage) {
    ScratchFolder scratch;
    const std::string content = "package";
    const std::wstring package = WritePackage(scratch, L"install.exe", content);
    const std::wstring digest = DigestOf(content);
    const std::wstring other = WritePackage(scratch, L"other.exe", "another package");

    struct Case {
        const char* name;
        std::wstring md5;
        std::wstring path;
        bool kept;
    };
    const Case cases[] = {
        {"matching", digest, package, true},
        {"deleted package", digest, scratch.Path(L"deleted.exe"), false},
        {"other content", digest, other, false},
        {"upper-case digest", UpperCase(digest), package, false},
    };
    for (const Case& c : cases) {
        const std::wstring file = scratch.Path(L"config.ini");
        WriteCachedEntry(file, c.md5, c.path);
        const std::string before = FileBytes(file);
        CCacheConfig config(file);
        EXPECT_EQ(config.CachedMd5(), c.kept ? c.md5 : L"") << c.name;
        EXPECT_EQ(config.CachedPath(), c.kept ? c.path : L"") << c.name;
        // Initialisation never writes: a stale entry stays in the file, unused.
        EXPECT_EQ(FileBytes(file), before) << c.name;
    }
}

TEST(CacheConfig, UpperCaseDigestNeverMatches) {
    ScratchFolder scratch;
    const std::wstring package = WritePackage(scratch, L"install.exe", "package");
    const std::wstring upper = UpperCase(DigestOf("package"));
    ASSERT_NE(upper, DigestOf("package"));
    CCacheConfig config(scratch.Path(L"config.ini"));
    EXPECT_FALSE(config.ValidateCache(upper, package, false));
    EXPECT_TRUE(config.CachedMd5().empty());
}

TEST(CacheConfig, FailedValidationEmptiesTheKeysItHeld) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"config.ini");
    const std::wstring package = WritePackage(scratch, L"install.exe", "package");
    CCacheConfig config(file);

    EXPECT_FALSE(config.ValidateCache(L"", package, false));
    EXPECT_FALSE(config.ValidateCache(DigestOf("package"), L"", false));
    ASSERT_TRUE(config.ValidateCache(DigestOf("package"), package, false));
    EXPECT_EQ(ReadProfile(file, L"md5"), DigestOf("package"));
    EXPECT_EQ(ReadProfile(file, L"path"), package);

    EXPECT_FALSE(config.ValidateCache(DigestOf("something else"), package, false));
    EXPECT_EQ(ReadProfile(file, L"md5"), L"");
    EXPECT_EQ(ReadProfile(file, L"path"), L"");
    EXPECT_TRUE(config.CachedMd5().empty());
    EXPECT_TRUE(config.CachedPath().empty());
}

TEST(CacheConfig, DoNotWriteKeepsTheFileOnSuccessButNotOnFailure) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"config.ini");
    const std::wstring package = WritePackage(scratch, L"install.exe", "package");
    CCacheConfig config(file);

    ASSERT_TRUE(config.ValidateCache(DigestOf("package"), package, true));
    EXPECT_EQ(config.CachedPath(), package);
    EXPECT_EQ(ReadProfile(file, L"md5"), L"");

    WriteCachedEntry(file, DigestOf("package"), package);
    ASSERT_TRUE(RemoveFile(package));
    EXPECT_FALSE(config.ValidateCache(DigestOf("package"), package, true));
    EXPECT_EQ(ReadProfile(file, L"md5"), L"");
    EXPECT_EQ(ReadProfile(file, L"path"), L"");
}

}  // namespace
