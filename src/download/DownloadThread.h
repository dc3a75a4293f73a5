// One worker of the download: fetches one byte range of the package with its
// own ranged GETs, resumes from the first byte it does not have, follows
// redirects by re-targeting itself, and hands full buffers to its owner.
//
// Threading: the worker runs on its own thread with its own socket; the only
// shared object is the owner, whose WriteSegmentData serialises the writers.
// Cancel: the destructor sets the state to 3, which the worker reads before
// each attempt, each request piece and each recv, and waits for the thread
// without time-out (a blocked recv ends with the socket time-out).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "net/TcpClient.h"
#include "sys/CorvanBasedThread.h"

class ILoggerServer;

class ISegmentSink {
public:
    // Writes count bytes at offset of the package file for segment index.
    virtual bool WriteSegmentData(const char* bytes, uint32_t count, int32_t index, int64_t offset) = 0;

protected:
    ~ISegmentSink() = default;
};

class CDownloadThread final : public CCorvanBasedThread, public CTCPClient {
public:
    enum State : int32_t { kWorking = 1, kStopRequested = 3, kComplete = 4, kFailed = 5 };

    // Throws "init url failed" for an unusable URL and "Can't resolve host
    // name" when the host cannot be resolved even through the DNS fallback.
    CDownloadThread(const std::string& url, int32_t timeoutMs, int32_t attempts, int64_t next, int64_t last,
                    ISegmentSink& owner, int32_t index, ILoggerServer* logger);
    ~CDownloadThread() override;

    uint32_t Run() override;

    int32_t GetState() const { return state_.load(); }

private:
    bool TryConnect();
    bool SendRequest();
    bool ReceiveResponse();
    bool TakeHeader();
    void Retarget(const std::string& location);
    void KeepWithinSegment();
    void FlushBuffer();
    void CloseConnection();
    void ThrowIfStopped() const;

    std::atomic<int32_t> state_{kWorking};
    std::unique_ptr<char[]> buffer_;
    size_t buffered_ = 0;
    std::string host_;
    int32_t port_ = 80;
    std::string path_;
    int32_t attempts_;
    bool headerPending_ = true;
    int64_t next_;
    int64_t last_;
    int64_t first_;
    int64_t written_ = 0;
    std::string url_;
    ISegmentSink& owner_;
    int32_t index_;
    ILoggerServer* logger_;
};
