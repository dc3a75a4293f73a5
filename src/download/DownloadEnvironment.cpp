#include "download/DownloadEnvironment.h"

#include "EndpointConfig.h"
#include "core/AppInfo.h"
#include "core/CacheConfig.h"
#include "download/DownloadConstants.h"
#include "report/LoggerServer.h"
#include "server/PkgInfo.h"
#include "sys/Folders.h"
#include "sys/TextOps.h"

namespace {

constexpr uint16_t kDefaultHttpPort = 80;

// Written with the https scheme as the vendor publishes it; the engine
// fetches it over plain HTTP like every other address.
std::string CdnFallbackUrl() {
    std::string url = "https://";
    url += endpoints::kCdnHost;
    if (endpoints::kHttpPort != kDefaultHttpPort) url += ":" + FormatInt64(endpoints::kHttpPort);
    return url + dl::kCdnFallbackPath;
}

}  // namespace

DownloadEnvironment WithProcessDefaults(DownloadEnvironment env) {
    if (env.pkgInfo == nullptr) env.pkgInfo = GetPkgInfo();
    if (env.logger == nullptr) env.logger = GetLoggerServer();
    if (env.cache == nullptr) env.cache = &GetCacheConfig();
    if (env.appInfo == nullptr) env.appInfo = GetAppInfo();
    if (env.productFolder.empty()) env.productFolder = GetProductDataFolder();
    if (env.cdnFallbackUrl.empty()) env.cdnFallbackUrl = CdnFallbackUrl();
    if (env.probeHosts.empty()) env.probeHosts = {endpoints::kSupportHost, endpoints::kGatewayFallbackIp};
    if (env.probePort == 0) env.probePort = endpoints::kHttpPort;
    return env;
}
