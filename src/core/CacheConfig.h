// The configuration record and its file "config.ini" in the product data
// folder, section "General": the verified package of an earlier run (digest
// and path) and the facts of this installation that the installed product
// reads. Apart from the cached digest and path the file is only written; the
// record in memory is what this process believes.
//
// One process-wide record, reached through GetCacheConfig and used from the
// main thread. The one exception: the download engine's URL thread reads the
// cached digest and path, which change only at construction and through the
// downloader's Poll once that thread has finished. Profile writes that fail,
// such as before the product data folder exists, are ignored: the value stays
// in the record.
#pragma once

#include <cstddef>
#include <string>

enum class ConfigKey : size_t {
    kMd5,
    kPath,
    kLaunchAppName,
    kIsSem,
    kAppId,
    kChannelId,
    kMid,
    kInstall,
    kWelcomeUrl,
    kBeginTimestamp,
    kEndTimestamp,
    kCam,
    kSessionId,
    kAppVersion,
    kAdvertisingAccountName,
    kCount
};

inline constexpr wchar_t kConfigSection[] = L"General";
inline constexpr wchar_t kConfigFileName[] = L"config.ini";

// The key's name in the file.
const wchar_t* ConfigKeyName(ConfigKey key);

class CCacheConfig {
public:
    // Reads the cached package from an existing file and keeps it only when
    // it still verifies; otherwise writes empty "md5" and "path".
    explicit CCacheConfig(std::wstring filePath);

    // Each setter stores the value and then writes its key; the setters that
    // take a condition ("only when not empty") change nothing without it.
    void SetLaunchAppName(const std::wstring& value);
    void SetIsSem(bool serverSuppliedWelcome);
    void SetAppId(const std::wstring& value);
    void SetChannelId(const std::wstring& value);
    void SetMid(const std::wstring& value);
    void SetInstall();
    void SetWelcomeUrl(const std::wstring& value);
    void SetBeginTimestamp(const std::wstring& value);
    void SetEndTimestamp(const std::wstring& value);
    void SetCam(const std::wstring& value);
    void SetSessionId(const std::wstring& value);
    void SetAppVersion(const std::wstring& value);
    void SetAdvertisingAccountName(const std::wstring& value);

    // True when the file at path has exactly this digest (lower case). Then
    // the record keeps both, and the file too unless doNotWrite. Otherwise a
    // digest and path held so far are emptied in the record and in the file,
    // whatever doNotWrite says, so that a stale package is never reused.
    bool ValidateCache(const std::wstring& digest, const std::wstring& path, bool doNotWrite);
    // What a successful ValidateCache keeps and writes, for a file whose
    // digest the caller has just computed: a downloaded package is not read
    // a second time right after its own check.
    void KeepVerifiedPackage(const std::wstring& digest, const std::wstring& path);

    const std::wstring& Value(ConfigKey key) const { return values_[static_cast<size_t>(key)]; }
    const std::wstring& CachedMd5() const { return Value(ConfigKey::kMd5); }
    const std::wstring& CachedPath() const { return Value(ConfigKey::kPath); }
    const std::wstring& LaunchAppName() const { return Value(ConfigKey::kLaunchAppName); }
    const std::wstring& FilePath() const { return filePath_; }

private:
    void Initialise();
    std::wstring ReadKey(ConfigKey key) const;
    void WriteKey(ConfigKey key, const std::wstring& value) const;
    void Store(ConfigKey key, const std::wstring& value);
    void StoreIfNotEmpty(ConfigKey key, const std::wstring& value);
    void KeepPackage(const std::wstring& digest, const std::wstring& path, bool doNotWrite);

    std::wstring values_[static_cast<size_t>(ConfigKey::kCount)];
    std::wstring filePath_;
};

// The record of the product data folder's "config.ini"; created on first use.
CCacheConfig& GetCacheConfig();
