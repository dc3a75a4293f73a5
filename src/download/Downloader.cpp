#include "download/Downloader.h"

#include <windows.h>
#include <winsock2.h>

#include <new>
#include <utility>

#include "core/AppInfo.h"
#include "core/CacheConfig.h"
#include "download/DownloadConstants.h"
#include "download/DownloadEvents.h"
#include "download/DownloadPlan.h"
#include "download/Md5.h"
#include "download/UrlReply.h"
#include "report/EventCatalogue.h"
#include "server/PkgInfo.h"
#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/TextEncoding.h"

namespace {

using namespace catalogue::value;

constexpr WORD kWinsockVersion = 0x0101;
constexpr DWORD kModulePathChars = 1024;
constexpr DWORD kWorkerPollMs = 1;

std::wstring OwnExecutableName() {
    wchar_t path[kModulePathChars] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathChars - 1);
    const std::wstring full(path, length);
    const size_t slash = full.rfind(L'\\');
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

}  // namespace

IDownloader* CreateDownloader(DownloadEnvironment env) {
    try {
        return new CDownloader(WithProcessDefaults(std::move(env)));
    } catch (...) {
        return nullptr;
    }
}

CDownloader::CDownloader(DownloadEnvironment env)
    : env_(std::move(env)),
      segmentCount_(dl::kSegmentCount),
      workerTimeoutMs_(dl::kWorkerTimeoutMs),
      workerAttempts_(dl::kWorkerAttempts) {
    WSADATA data{};
    winsockStarted_ = ::WSAStartup(kWinsockVersion, &data) == 0;
}

CDownloader::~CDownloader() {
    state_ = kDestroying;
    urlThread_.reset();
    StopAllWorkers();
    file_.reset();
    if (winsockStarted_) ::WSACleanup();
}

bool CDownloader::Start() {
    const int32_t state = state_;
    if (state == kRunning || state == kReady) return true;
    ReportDownloadStart(env_.logger);
    if (!segments_.empty()) {
        const bool started = StartWorkers();
        if (started) state_ = kRunning;
        return started;
    }
    // With the answer already in, a cached package makes every request,
    // even the HEAD of the URL query, unnecessary.
    if (env_.pkgInfo && env_.pkgInfo->GetStatus() == IPkgInfo::kDone && ReuseIfVersionMatches()) return true;
    urlThread_.reset();
    try {
        urlThread_ = std::make_unique<QueryUrlInfoThread>(*this, env_);
    } catch (...) {
        return false;
    }
    state_ = kRunning;
    return true;
}

int32_t CDownloader::GetProgress() { return ProgressPercent(downloaded_.load(), totalSize_); }

std::wstring CDownloader::GetFilePath() { return filePath_; }

std::string CDownloader::GetDownloadUrl() {
    if (urlThread_ && urlThread_->IsDone() && !urlThread_->Urls().empty()) return urlThread_->Urls().front();
    return env_.cdnFallbackUrl;
}

void CDownloader::OnUrlInfo(const UrlInfo& info) {
    try {
        if (info.size <= 0 || info.urls.empty()) {
            ReportDownloadError(env_.logger, kDownloadThreadError, kBadArguments);
            ReuseOnFailure();
            throw CorvanError("param error");
        }
        PrepareDownload(info);
    } catch (...) {
        // The state stays running; the next Poll finds no segments or a
        // missing worker and reports the failure.
    }
}

bool CDownloader::PrepareDownload(const UrlInfo& info) {
    if (ReuseIfVersionMatches()) return true;
    totalSize_ = info.size;
    if (filePath_.empty()) filePath_ = PackagePath(info.fileName);
    CreatePackageFile();
    std::vector<Segment> segments;
    for (const SegmentRange& range : SplitSegments(totalSize_, segmentCount_)) {
        Segment segment;
        segment.url = info.urls.front();
        segment.next = range.next;
        segment.last = range.last;
        segments.push_back(std::move(segment));
    }
    {
        CXMutexLock hold(lock_);
        segments_ = std::move(segments);
    }
    return StartWorkers();
}

std::wstring CDownloader::PackagePath(const std::wstring& serverName) const {
    std::wstring name = SafePackageFileName(serverName);
    if (name.empty()) name = SafePackageFileName(OwnExecutableName());
    const std::wstring channelName =
        env_.appInfo ? ChannelPackageName(env_.appInfo->GetProductVersion(L"")) : std::wstring();
    if (!channelName.empty()) name = channelName;
    return env_.productFolder + name;
}

void CDownloader::CreatePackageFile() {
    auto file = std::make_unique<CFileStream>(CorvanFileCreate(filePath_));
    if (!file->SetSize(totalSize_)) throw CorvanError("set file size failed");
    CXMutexLock hold(lock_);
    file_ = std::move(file);
    downloaded_ = 0;
}

bool CDownloader::StartWorkers() {
    for (size_t i = 0; i < segments_.size(); ++i) {
        Segment& segment = segments_[i];
        segment.worker.reset();
        int64_t next = 0;
        {
            CXMutexLock hold(lock_);
            if (segment.next > segment.last) continue;
            next = segment.next;
        }
        try {
            segment.worker =
                std::make_unique<CDownloadThread>(segment.url, workerTimeoutMs_, workerAttempts_, next, segment.last,
                                                  *this, static_cast<int32_t>(i), env_.logger);
        } catch (const std::bad_alloc&) {
            segment.worker.reset();
        } catch (...) {
            ReportDownloadError(env_.logger, kDownloadThreadError, kCreateThreadError);
            StopAllWorkers();
            return false;
        }
    }
    return true;
}

void CDownloader::StopAllWorkers() {
    for (Segment& segment : segments_)
        segment.worker.reset();
}

bool CDownloader::WriteSegmentData(const char* bytes, uint32_t count, int32_t index, int64_t offset) {
    CXMutexLock hold(lock_);
    if (!file_ || index < 0 || static_cast<size_t>(index) >= segments_.size()) return false;
    if (file_->Seek(offset, 0) < 0 || file_->Write(bytes, count) < 1) return false;
    downloaded_ += count;
    segments_[static_cast<size_t>(index)].next += count;
    return true;
}

bool CDownloader::SegmentComplete(size_t index) {
    CXMutexLock hold(lock_);
    return segments_[index].next > segments_[index].last;
}

int32_t CDownloader::Poll() {
    if (state_ != kRunning) return state_;
    if (!urlThread_) {
        StopAllWorkers();
        state_ = kFailed;
        return state_;
    }
    if (!urlThread_->IsDone()) return state_;
    if (state_ != kRunning) return state_;
    if (segments_.empty()) {
        state_ = kFailed;
        return state_;
    }
    if (JudgeSegments() == kRunning) return state_;
    FinishDownload();
    return state_;
}

// kRunning while a worker still works, kFailed when a segment has lost its
// worker, kReady when every segment is complete.
int32_t CDownloader::JudgeSegments() {
    bool working = false;
    for (size_t i = 0; i < segments_.size(); ++i) {
        if (SegmentComplete(i)) continue;
        CDownloadThread* worker = segments_[i].worker.get();
        if (worker && ::WaitForSingleObject(worker->GetThreadHandle(), kWorkerPollMs) == WAIT_TIMEOUT) {
            working = true;
            continue;
        }
        if (worker == nullptr || !SegmentComplete(i)) {
            StopAllWorkers();
            state_ = kFailed;
            return kFailed;
        }
    }
    return working ? kRunning : kReady;
}

void CDownloader::FinishDownload() {
    if (state_ != kRunning) return;
    {
        CXMutexLock hold(lock_);
        file_.reset();
    }
    if (!VerifyMd5()) {
        ResetForRetry();
        return;
    }
    StopAllWorkers();
    ReportDownloadResult(env_.logger, kDownloadSucceeded, DownloadSeconds());
    RecordCache();
    state_ = kReady;
}

bool CDownloader::VerifyMd5() {
    fileDigest_.clear();
    if (filePath_.empty()) return false;
    const char* announced = env_.pkgInfo ? env_.pkgInfo->GetMd5() : nullptr;
    if (announced == nullptr || *announced == '\0') return true;
    fileDigest_ = Md5OfFile(filePath_);
    return fileDigest_ == announced;
}

// The cache configuration checks a package against its digest before it
// keeps it; the digest VerifyMd5 has just computed from the closed file is
// that check, so a large package is read once, not twice.
void CDownloader::RecordCache() {
    if (env_.cache == nullptr) return;
    if (fileDigest_.empty()) fileDigest_ = Md5OfFile(filePath_);
    env_.cache->KeepVerifiedPackage(Utf8ToWide(fileDigest_), filePath_);
}

int32_t CDownloader::DownloadSeconds() const {
    try {
        CFileStream file(CorvanFileOpen(kOpenReadShared, filePath_));
        int64_t created = 0, accessed = 0, written = 0;
        if (!file.GetFileTimes(created, accessed, written) || written <= created) return 0;
        return static_cast<int32_t>(written - created);
    } catch (...) {
        return 0;
    }
}

void CDownloader::ResetForRetry() {
    state_ = kFailed;
    StopAllWorkers();
    try {
        CreatePackageFile();
    } catch (...) {
        // Without a file the workers' writes fail and the download fails again.
    }
    const int64_t chunk = totalSize_ / segmentCount_;
    CXMutexLock hold(lock_);
    for (size_t i = 0; i < segments_.size(); ++i)
        segments_[i].next = static_cast<int64_t>(i) * chunk;
    downloaded_ = 0;
}

std::wstring CDownloader::CachedVersion(const std::wstring& cachedPath) const {
    return env_.appInfo ? env_.appInfo->GetProductVersion(cachedPath) : std::wstring();
}

bool CDownloader::ReuseIfVersionMatches() {
    const char* versionCode = env_.pkgInfo ? env_.pkgInfo->GetVersionCode() : nullptr;
    if (versionCode == nullptr || env_.cache == nullptr) return false;
    const std::wstring cachedPath = env_.cache->CachedPath();
    if (cachedPath.empty()) return false;
    if (!VersionAtLeast(WideToUtf8(CachedVersion(cachedPath)), versionCode)) return false;
    ReuseCachedPackage(cachedPath);
    return true;
}

bool CDownloader::ReuseOnFailure() {
    if (env_.cache == nullptr || env_.cache->CachedPath().empty()) return false;
    const std::wstring cachedPath = env_.cache->CachedPath();
    if (env_.appInfo && !env_.appInfo->GetInstalledPath().empty() &&
        !VersionAtLeast(WideToUtf8(CachedVersion(cachedPath)), WideToUtf8(env_.appInfo->GetInstalledVersion())))
        return false;
    ReuseCachedPackage(cachedPath);
    return true;
}

void CDownloader::ReuseCachedPackage(const std::wstring& path) {
    filePath_ = path;
    state_ = kReady;
    ReportDownloadResult(env_.logger, kLocalFileExists, kNoDownloadTime);
}
