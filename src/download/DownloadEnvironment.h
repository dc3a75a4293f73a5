// What the download classes reach outside themselves: the package
// information, the event logger, the cache record, the installed-product
// lookup, the product data folder and the fixed addresses. The installer
// takes the process-wide services; tests hand in their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CCacheConfig;
class IAppInfo;
class ILoggerServer;
class IPkgInfo;

struct DownloadEnvironment {
    IPkgInfo* pkgInfo = nullptr;
    ILoggerServer* logger = nullptr;
    CCacheConfig* cache = nullptr;
    IAppInfo* appInfo = nullptr;
    std::wstring productFolder;  // with its trailing backslash
    std::string cdnFallbackUrl;
    // Asked in turn while the package information is pending.
    std::vector<std::string> probeHosts;
    uint16_t probePort = 0;
};

// env with every unset member taken from the process-wide services and the
// configured endpoints.
DownloadEnvironment WithProcessDefaults(DownloadEnvironment env);
