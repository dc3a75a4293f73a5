#include "net/NetworkSettings.h"

#include <windows.h>
#include <winhttp.h>
#include <winsock2.h>

#include "core/SharedSettings.h"
#include "net/ProxyList.h"
#include "net/WinHttpHandle.h"
#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "sys/TextEncoding.h"

namespace {

// Process-wide: each kind of switch is reported once per run. Guarded by the
// SharedSettings lock.
bool g_proxyReported = false;
bool g_dnsReported = false;

// The strings WinHttpGetIEProxyConfigForCurrentUser hands out, freed with GlobalFree.
class IeProxyConfig {
public:
    IeProxyConfig() { ::WinHttpGetIEProxyConfigForCurrentUser(&config_); }
    ~IeProxyConfig() {
        Free(config_.lpszAutoConfigUrl);
        Free(config_.lpszProxy);
        Free(config_.lpszProxyBypass);
    }
    IeProxyConfig(const IeProxyConfig&) = delete;
    IeProxyConfig& operator=(const IeProxyConfig&) = delete;
    const WINHTTP_CURRENT_USER_IE_PROXY_CONFIG& Get() const { return config_; }

private:
    static void Free(LPWSTR text) {
        if (text != nullptr) ::GlobalFree(text);
    }
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config_{};
};

void ParseWideProxyList(const wchar_t* list, ProxyConfig& proxy) {
    if (list != nullptr) ParseProxyList(WideToUtf8(list), proxy);
}

void AskAutoConfigScript(const std::string& url, const wchar_t* scriptUrl, ProxyConfig& proxy) {
    WINHTTP_PROXY_INFO info{};
    {
        const WinHttpHandle session(::WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                                  WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
        if (!session) return;
        WINHTTP_AUTOPROXY_OPTIONS options{};
        options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = scriptUrl;
        options.fAutoLogonIfChallenged = TRUE;
        const std::wstring wideUrl = AnsiToWide(url);
        if (!::WinHttpGetProxyForUrl(session.Get(), wideUrl.c_str(), &options, &info)) return;
    }
    if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY) ParseWideProxyList(info.lpszProxy, proxy);
    if (info.lpszProxy != nullptr) ::GlobalFree(info.lpszProxy);
    if (info.lpszProxyBypass != nullptr) ::GlobalFree(info.lpszProxyBypass);
}

void ReportSwitch(ILoggerServer* logger, const char* networkType, int connType, const std::string& hostName) {
    if (logger == nullptr) logger = GetLoggerServer();
    if (logger == nullptr) return;
    logger->ClearProperties();
    logger->SetStringProperty(catalogue::prop::kNetworkType, networkType);
    logger->SetIntProperty(catalogue::prop::kConnType, connType);
    logger->SetStringProperty(catalogue::prop::kHostName, hostName.c_str());
    logger->SendEvent(catalogue::event::kNetworkCheck);
}

}  // namespace

void DiscoverSystemProxy(const std::string& url, ProxyConfig& proxy) {
    proxy.type = 0;
    const IeProxyConfig user;
    if (user.Get().lpszAutoConfigUrl != nullptr) {
        AskAutoConfigScript(url, user.Get().lpszAutoConfigUrl, proxy);
        return;
    }
    ParseWideProxyList(user.Get().lpszProxy, proxy);
}

void RecordProxy(const ProxyConfig& proxy, ILoggerServer* logger) {
    SharedSettings* settings = GetSharedSettings();
    if (settings == nullptr) return;
    CXMutexLock hold(settings->lock);
    if (!g_proxyReported) {
        ReportSwitch(logger, catalogue::value::kNetworkProxy, proxy.type, proxy.host);
        g_proxyReported = true;
    }
    settings->proxy = proxy;
}

void RecordDns(const DnsConfig& dns, ILoggerServer* logger) {
    SharedSettings* settings = GetSharedSettings();
    if (settings == nullptr) return;
    CXMutexLock hold(settings->lock);
    if (!g_dnsReported) {
        ReportSwitch(logger, catalogue::value::kNetworkDns, dns.mode, dns.server);
        g_dnsReported = true;
    }
    settings->dns = dns;
}

void GetChannel(std::string& channel) {
    SharedSettings* settings = GetSharedSettings();
    if (settings != nullptr) channel = settings->GetChannel();
}
