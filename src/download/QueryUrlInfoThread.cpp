#include "download/QueryUrlInfoThread.h"

#include <windows.h>
#include <winsock2.h>

#include "download/DownloadConstants.h"
#include "download/DownloadEvents.h"
#include "download/UrlReply.h"
#include "net/TcpHttp.h"
#include "report/EventCatalogue.h"
#include "server/PkgInfo.h"
#include "sys/CorvanError.h"
#include "sys/TextEncoding.h"
#include "sys/TextOps.h"
#include "sys/Win32Handle.h"

namespace {

using namespace catalogue::value;

constexpr DWORD kModulePathChars = 1024;
constexpr wchar_t kLastResortName[] = L"CorvanPkg.exe";

std::wstring OwnExecutableFileName() {
    wchar_t modulePath[kModulePathChars] = {};
    if (::GetModuleFileNameW(nullptr, modulePath, kModulePathChars - 1) == 0) return {};
    wchar_t fullPath[kModulePathChars] = {};
    wchar_t* filePart = nullptr;
    if (::GetFullPathNameW(modulePath, kModulePathChars, fullPath, &filePart) == 0 || filePart == nullptr) return {};
    return filePart;
}

hostent* ResolveTwice(const std::string& host) {
    hostent* entry = ::gethostbyname(host.c_str());
    return entry ? entry : ::gethostbyname(host.c_str());
}

bool ConnectTwice(SOCKET socket, const sockaddr_in& target) {
    const auto* address = reinterpret_cast<const sockaddr*>(&target);
    return ::connect(socket, address, sizeof(target)) == 0 || ::connect(socket, address, sizeof(target)) == 0;
}

}  // namespace

QueryUrlInfoThread::QueryUrlInfoThread(IUrlInfoOwner& owner, const DownloadEnvironment& env)
    : owner_(owner), env_(env) {
    StartThread();
    while (!started_)
        ::Sleep(dl::kUrlThreadStartPollMs);
}

QueryUrlInfoThread::~QueryUrlInfoThread() {
    stop_ = true;
    WaitForExit();
}

void QueryUrlInfoThread::ThrowIfStopped() const {
    if (stop_) throw CorvanError("user query stop thread");
}

uint32_t QueryUrlInfoThread::Run() {
    started_ = true;
    try {
        if (!FromPackageInfo()) {
            ThrowIfStopped();
            if (!QueryUrl("", env_.cdnFallbackUrl))
                ReportDownloadError(env_.logger, kUrlInfoThreadError, kPackageInfoFailed);
        }
    } catch (...) {
        // Whatever happened, the owner learns it from the result.
    }
    owner_.OnUrlInfo(result_);
    done_ = true;
    return 0;
}

bool QueryUrlInfoThread::FromPackageInfo() {
    IPkgInfo* info = env_.pkgInfo;
    if (info == nullptr) return false;
    const DWORD start = ::GetTickCount();
    while (info->GetStatus() == IPkgInfo::kRunning) {
        ThrowIfStopped();
        if (::GetTickCount() - start >= dl::kPkgInfoWaitMs) return false;
        ProbeConnectivity();
        ::Sleep(dl::kProbePauseMs);
    }
    if (info->GetStatus() != IPkgInfo::kDone) return false;
    const char* version = info->GetVersionCode();
    const int32_t count = info->GetUrlCount();
    for (int32_t i = 0; i < count; ++i) {
        ThrowIfStopped();
        const char* url = info->GetUrl(i);
        QueryUrl(version ? version : "", url ? url : "");
    }
    return !result_.urls.empty();
}

void QueryUrlInfoThread::ProbeConnectivity() {
    for (const std::string& host : env_.probeHosts) {
        ThrowIfStopped();
        if (ProbeHost(host)) return;
    }
    ReportDownloadError(env_.logger, kUrlInfoThreadError, kNetworkFailed);
    throw CorvanError("network connect error");
}

bool QueryUrlInfoThread::ProbeHost(const std::string& host) const {
    hostent* entry = ResolveTwice(host);
    if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) return false;
    SocketHandle socket(::socket(AF_INET, SOCK_STREAM, 0));
    if (!socket) return false;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = ::htons(env_.probePort);
    target.sin_addr = *reinterpret_cast<const in_addr*>(entry->h_addr_list[0]);
    return ConnectTwice(socket.Get(), target);
}

bool QueryUrlInfoThread::QueryUrl(const std::string& version, std::string url) {
    if (url.empty()) return false;
    current_ = ParseUrlOrReport(url, env_.logger);
    const std::vector<std::string> lines = HeadFollow(url);
    if (lines.empty()) {
        ReportDownloadError(env_.logger, kUrlInfoThreadError, kHeaderFailed);
        throw CorvanError("http get url header information error");
    }
    if (result_.fileName.empty()) result_.fileName = SafePackageFileName(AnsiToWide(FileNameFromHeaders(lines)));
    if (result_.fileName.empty())
        result_.fileName = SafePackageFileName(MadeUpPackageName(OwnExecutableFileName(), Utf8ToWide(version)));
    if (result_.fileName.empty()) result_.fileName = kLastResortName;
    if (result_.size <= 0) result_.size = ContentLengthFromHeaders(lines);
    if (result_.size > dl::kMaxPackageBytes) result_.size = 0;
    if (result_.size <= 0) {
        result_.fileName.clear();
        return false;
    }
    result_.urls.push_back(url);
    return true;
}

std::vector<std::string> QueryUrlInfoThread::HeadFollow(std::string& url) {
    for (int32_t redirects = 0; redirects <= dl::kMaxRedirects; ++redirects) {
        current_ = ParseUrlOrReport(url, env_.logger);
        const ResponseHeader header = HeadWithRetries(current_);
        if (header.lines.empty() || header.status.empty()) return {};
        const int64_t status = ParseInt64(header.status);
        if (status < 300) return header.lines;
        if (status >= 400) return {};
        const std::string target = RedirectTarget(header.lines, current_.host, current_.port);
        if (target.empty()) return header.lines;
        url = target;
    }
    // A chain this long is taken for a loop.
    return {};
}

ResponseHeader QueryUrlInfoThread::HeadWithRetries(const ParsedUrl& target) {
    for (int32_t attempt = 0; attempt < dl::kHeadAttempts; ++attempt) {
        ThrowIfStopped();
        CTCPHttp http(target.host, static_cast<uint16_t>(target.port));
        http.SetTimeouts(dl::kHeadTimeoutMs, dl::kHeadTimeoutMs);
        try {
            ResponseHeader header = http.Head(target.path, target.host);
            if (!header.lines.empty()) return header;
        } catch (const CorvanError&) {
        }
        if (attempt + 1 == dl::kHeadAttempts) {
            ReportDownloadError(env_.logger, kUrlInfoThreadError, kTooManyRetries);
        } else {
            ::Sleep(dl::kHeadRetryPauseMs);
        }
    }
    return {};
}
