// Turns the package information into a verified package file on disk:
// resolves the URL on a QueryUrlInfoThread, reuses an earlier verified
// download when the cache names one of a sufficient version, otherwise
// creates the file at full size and fetches its segments with one
// CDownloadThread each, then checks the MD5 the gateway announced.
//
// Threading: Start, Poll and the accessors run on the driver's thread;
// OnUrlInfo on the URL thread (before it sets done, which Poll waits for);
// WriteSegmentData on the workers. The lock guards the file position and
// writes, the downloaded counter and the segments' next offsets; it is never
// held while a worker is stopped, since stopping waits for a worker that may
// itself be waiting for the lock. The 64-bit counters are read whole under
// that lock or as atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "download/DownloadEnvironment.h"
#include "download/DownloadThread.h"
#include "download/QueryUrlInfoThread.h"
#include "sys/XMutex.h"

class CFileStream;

class IDownloader {
public:
    enum State : int32_t { kNew = 0, kRunning = 1, kDestroying = 3, kReady = 4, kFailed = 5 };

    virtual bool Start() = 0;
    virtual bool Reserved1() = 0;
    virtual bool Reserved2() = 0;
    virtual bool Reserved3() = 0;
    virtual int32_t GetProgress() = 0;
    virtual int32_t Poll() = 0;
    virtual void Release() = 0;
    virtual std::wstring GetFilePath() = 0;
    virtual std::string GetDownloadUrl() = 0;

protected:
    virtual ~IDownloader() = default;
};

// Null when the downloader cannot be built.
IDownloader* CreateDownloader(DownloadEnvironment env = DownloadEnvironment());

class CDownloader final : public IDownloader, public IUrlInfoOwner, public ISegmentSink {
public:
    explicit CDownloader(DownloadEnvironment env);
    ~CDownloader() override;

    bool Start() override;
    bool Reserved1() override { return false; }
    bool Reserved2() override { return false; }
    bool Reserved3() override { return false; }
    int32_t GetProgress() override;
    int32_t Poll() override;
    void Release() override { delete this; }
    std::wstring GetFilePath() override;
    std::string GetDownloadUrl() override;

    void OnUrlInfo(const UrlInfo& info) override;
    bool WriteSegmentData(const char* bytes, uint32_t count, int32_t index, int64_t offset) override;

private:
    struct Segment {
        std::string url;
        std::unique_ptr<CDownloadThread> worker;
        int64_t next = 0;
        int64_t last = 0;
    };

    bool PrepareDownload(const UrlInfo& info);
    std::wstring PackagePath(const std::wstring& serverName) const;
    void CreatePackageFile();
    bool StartWorkers();
    void StopAllWorkers();
    int32_t JudgeSegments();
    void FinishDownload();
    bool VerifyMd5();
    void RecordCache();
    void ResetForRetry();
    bool ReuseIfVersionMatches();
    bool ReuseOnFailure();
    void ReuseCachedPackage(const std::wstring& path);
    std::wstring CachedVersion(const std::wstring& cachedPath) const;
    int32_t DownloadSeconds() const;
    bool SegmentComplete(size_t index);

    DownloadEnvironment env_;
    std::atomic<int32_t> state_{kNew};
    CXMutex lock_;
    std::wstring filePath_;
    std::string fileDigest_;  // computed by the last VerifyMd5; empty when none was
    std::atomic<int64_t> totalSize_{0};
    std::atomic<int64_t> downloaded_{0};
    std::unique_ptr<CFileStream> file_;
    int32_t segmentCount_;
    int32_t workerTimeoutMs_;
    int32_t workerAttempts_;
    std::unique_ptr<QueryUrlInfoThread> urlThread_;
    std::vector<Segment> segments_;
    bool winsockStarted_ = false;
};
