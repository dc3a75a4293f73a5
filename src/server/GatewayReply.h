// The API gateway's two JSON replies turned into records, and the request
// paths that ask for them. Platform-free.
//
// Each parser takes the body exactly as received and either answers a
// complete record or throws CorvanError; the caller decides what a failure
// means for its status.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kAppId[] = "81974195";
inline constexpr int64_t kDefaultPackageSize = 23068672;
inline constexpr int64_t kDefaultInstallationSize = 58990592;

struct DownloadEntry {
    int32_t first = 0;
    std::string url;
    int32_t second = 0;
};

struct PkgRecord {
    std::string softwareCode;
    std::string versionCode;
    int64_t size = kDefaultPackageSize;
    int64_t installationSize = kDefaultInstallationSize;
    std::string md5;
    std::vector<DownloadEntry> entries;
};

struct ChannelRecord {
    std::string appId;
    std::string appName;
    bool attributionWanted = false;
    std::string welcomeUrl;
    std::string adAccountName;
};

// version is the installer's own product version (UTF-8), empty when unknown.
std::string BuildPkgInfoPath(std::string_view version, bool is64BitSystem);
std::string BuildWelcomePath(std::string_view channel);

// Throws "parse decrypt data error", "member not exist" or "request error".
PkgRecord ParsePkgInfoReply(std::string_view body);
// Largest second integer first; equal values keep their order.
void OrderDownloadEntries(std::vector<DownloadEntry>& entries);

// A reply of another shape than code "server.success" with "data" is an empty
// record, not a failure. Throws "parse decrypt data error" for text that is not
// JSON and "unexpected member type" for a "code" or "tolmarOcpc" of the wrong kind.
ChannelRecord ParseServerInfoReply(std::string_view body);
