#include "core/CacheConfig.h"

#include <windows.h>

#include <utility>

#include "download/Md5.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"

namespace {

constexpr DWORD kReadBufferChars = 1024;

constexpr const wchar_t* kKeyNames[] = {
    L"md5",           L"path", L"launch_appname", L"is_sem",      L"app_id",
    L"channel_id",    L"mid",  L"install",        L"welcome_url", L"begin_timestamp",
    L"end_timestamp", L"cam",  L"session_id",     L"app_version", L"advertising_account_name",
};
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == static_cast<size_t>(ConfigKey::kCount));

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace

const wchar_t* ConfigKeyName(ConfigKey key) { return kKeyNames[static_cast<size_t>(key)]; }

CCacheConfig::CCacheConfig(std::wstring filePath) : filePath_(std::move(filePath)) { Initialise(); }

void CCacheConfig::Initialise() {
    if (!FileExists(filePath_)) {
        WriteKey(ConfigKey::kMd5, L"");
        WriteKey(ConfigKey::kPath, L"");
        return;
    }
    ValidateCache(ReadKey(ConfigKey::kMd5), ReadKey(ConfigKey::kPath), true);
}

void CCacheConfig::SetLaunchAppName(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kLaunchAppName, value); }
void CCacheConfig::SetIsSem(bool serverSuppliedWelcome) {
    Store(ConfigKey::kIsSem, serverSuppliedWelcome ? L"1" : L"0");
}
void CCacheConfig::SetAppId(const std::wstring& value) { Store(ConfigKey::kAppId, value); }
void CCacheConfig::SetChannelId(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kChannelId, value); }
void CCacheConfig::SetMid(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kMid, value); }
void CCacheConfig::SetInstall() { Store(ConfigKey::kInstall, L"1"); }
void CCacheConfig::SetWelcomeUrl(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kWelcomeUrl, value); }
void CCacheConfig::SetBeginTimestamp(const std::wstring& value) { Store(ConfigKey::kBeginTimestamp, value); }
void CCacheConfig::SetEndTimestamp(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kEndTimestamp, value); }
void CCacheConfig::SetCam(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kCam, value); }
void CCacheConfig::SetSessionId(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kSessionId, value); }
void CCacheConfig::SetAppVersion(const std::wstring& value) { StoreIfNotEmpty(ConfigKey::kAppVersion, value); }
void CCacheConfig::SetAdvertisingAccountName(const std::wstring& value) {
    StoreIfNotEmpty(ConfigKey::kAdvertisingAccountName, value);
}

bool CCacheConfig::ValidateCache(const std::wstring& digest, const std::wstring& path, bool doNotWrite) {
    if (digest.empty() || path.empty()) return false;
    if (Widen(Md5OfFile(path)) == digest) {
        KeepPackage(digest, path, doNotWrite);
        return true;
    }
    if (!CachedMd5().empty() || !CachedPath().empty()) {
        WriteKey(ConfigKey::kMd5, L"");
        WriteKey(ConfigKey::kPath, L"");
    }
    values_[static_cast<size_t>(ConfigKey::kMd5)].clear();
    values_[static_cast<size_t>(ConfigKey::kPath)].clear();
    return false;
}

void CCacheConfig::KeepVerifiedPackage(const std::wstring& digest, const std::wstring& path) {
    if (digest.empty() || path.empty()) return;
    KeepPackage(digest, path, false);
}

void CCacheConfig::KeepPackage(const std::wstring& digest, const std::wstring& path, bool doNotWrite) {
    if (CachedMd5() == digest && CachedPath() == path) return;
    values_[static_cast<size_t>(ConfigKey::kMd5)] = digest;
    values_[static_cast<size_t>(ConfigKey::kPath)] = path;
    if (doNotWrite) return;
    WriteKey(ConfigKey::kMd5, digest);
    WriteKey(ConfigKey::kPath, path);
}

std::wstring CCacheConfig::ReadKey(ConfigKey key) const {
    wchar_t buffer[kReadBufferChars] = {};
    ::GetPrivateProfileStringW(kConfigSection, ConfigKeyName(key), L"", buffer, kReadBufferChars - 1,
                               filePath_.c_str());
    return buffer;
}

void CCacheConfig::WriteKey(ConfigKey key, const std::wstring& value) const {
    // Without a product data folder a bare file name would land in the
    // Windows folder.
    if (filePath_.empty()) return;
    ::WritePrivateProfileStringW(kConfigSection, ConfigKeyName(key), value.c_str(), filePath_.c_str());
}

void CCacheConfig::Store(ConfigKey key, const std::wstring& value) {
    values_[static_cast<size_t>(key)] = value;
    WriteKey(key, value);
}

void CCacheConfig::StoreIfNotEmpty(ConfigKey key, const std::wstring& value) {
    if (!value.empty()) Store(key, value);
}

CCacheConfig& GetCacheConfig() {
    static CCacheConfig config([] {
        const std::wstring folder = GetProductDataFolder();
        return folder.empty() ? folder : folder + kConfigFileName;
    }());
    return config;
}
