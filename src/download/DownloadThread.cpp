#include "download/DownloadThread.h"

#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "download/DownloadConstants.h"
#include "download/DownloadEvents.h"
#include "download/ParsedUrl.h"
#include "download/WorkerReply.h"
#include "report/EventCatalogue.h"
#include "sys/CorvanError.h"

namespace {

using namespace catalogue::value;

}  // namespace

CDownloadThread::CDownloadThread(const std::string& url, int32_t timeoutMs, int32_t attempts, int64_t next,
                                 int64_t last, ISegmentSink& owner, int32_t index, ILoggerServer* logger)
    : attempts_(attempts),
      next_(next),
      last_(last),
      first_(next),
      url_(url),
      owner_(owner),
      index_(index),
      logger_(logger) {
    const ParsedUrl parsed = ParseUrlOrReport(url_, logger_);
    host_ = parsed.host;
    port_ = parsed.port;
    path_ = parsed.path;
    ResolveWithFallback(host_, static_cast<uint16_t>(port_));
    SetTimeouts(timeoutMs, timeoutMs);
    buffer_ = std::make_unique<char[]>(dl::kWorkerBufferBytes);
    StartThread();
}

CDownloadThread::~CDownloadThread() {
    state_ = kStopRequested;
    WaitForExit();
}

void CDownloadThread::ThrowIfStopped() const {
    if (state_ == kStopRequested) throw CorvanError("User cancel thread");
}

uint32_t CDownloadThread::Run() {
    ::Sleep(dl::kWorkerStartDelayMs);
    try {
        int32_t connectFailures = 0;
        for (int32_t attempt = 0; attempt < attempts_; ++attempt) {
            ThrowIfStopped();
            if (!TryConnect()) {
                if (++connectFailures > dl::kWorkerMaxConnectFailures) {
                    ReportDownloadError(logger_, kDownloadThreadError, kConnectError);
                    throw CorvanError("connect failed");
                }
                ::Sleep(dl::kWorkerConnectRetryMs);
                continue;
            }
            connectFailures = 0;
            if (SendRequest() && ReceiveResponse()) state_ = kComplete;
            CloseConnection();
            if (state_ == kComplete) return 0;
            ::Sleep(dl::kWorkerAttemptPauseMs);
        }
        ReportDownloadError(logger_, kDownloadThreadError, kRetriesExceeded);
        throw CorvanError("download failed");
    } catch (...) {
        int32_t working = kWorking;
        state_.compare_exchange_strong(working, kFailed);
        return static_cast<uint32_t>(-1);
    }
}

bool CDownloadThread::TryConnect() {
    try {
        Connect();
        return true;
    } catch (const CorvanError&) {
        return false;
    }
}

bool CDownloadThread::SendRequest() {
    const std::string request = BuildRangeRequest(path_, host_, next_, last_);
    size_t sent = 0;
    while (sent < request.size()) {
        ThrowIfStopped();
        const int piece = static_cast<int>(std::min(dl::kRequestPieceBytes, request.size() - sent));
        const int result = ::send(Socket(), request.data() + sent, piece, 0);
        if (result <= 0) return false;
        sent += static_cast<size_t>(result);
    }
    return true;
}

bool CDownloadThread::ReceiveResponse() {
    buffered_ = 0;
    headerPending_ = true;
    for (;;) {
        ThrowIfStopped();
        const size_t room = std::min(dl::kWorkerRecvBytes, dl::kWorkerBufferBytes - buffered_);
        const int received = ::recv(Socket(), buffer_.get() + buffered_, static_cast<int>(room), 0);
        if (received <= 0) {
            if (!headerPending_) FlushBuffer();
            return false;
        }
        buffered_ += static_cast<size_t>(received);
        if (headerPending_) {
            if (!TakeHeader()) return false;
        } else {
            next_ += received;
        }
        KeepWithinSegment();
        if (buffered_ >= dl::kWorkerBufferBytes || next_ > last_) FlushBuffer();
        if (next_ > last_) return true;
    }
}

// False when this attempt ends here (a redirect, or a reply without our range).
bool CDownloadThread::TakeHeader() {
    const ReplyHead head = InspectReplyHead(std::string_view(buffer_.get(), buffered_), next_);
    switch (head.kind) {
        case ReplyHead::Kind::kIncomplete:
            buffered_ = 0;
            return true;
        case ReplyHead::Kind::kRedirect:
            for (const std::string& location : head.locations)
                Retarget(location);
            return false;
        case ReplyHead::Kind::kRefused:
            buffered_ = 0;
            return false;
        case ReplyHead::Kind::kBody:
            break;
    }
    buffered_ -= head.bodyOffset;
    std::memmove(buffer_.get(), buffer_.get() + head.bodyOffset, buffered_);
    next_ += static_cast<int64_t>(buffered_);
    headerPending_ = false;
    return true;
}

void CDownloadThread::Retarget(const std::string& location) {
    const ParsedUrl parsed = ParseUrlOrReport(location, logger_);
    host_ = parsed.host;
    port_ = parsed.port;
    path_ = parsed.path;
    SetServer(host_, static_cast<uint16_t>(port_));
}

// A server that sends more than the range asked for must not write past the
// segment (or the file).
void CDownloadThread::KeepWithinSegment() {
    if (next_ <= last_ + 1) return;
    const int64_t excess = next_ - (last_ + 1);
    buffered_ -= static_cast<size_t>(std::min<int64_t>(excess, static_cast<int64_t>(buffered_)));
    next_ = last_ + 1;
}

void CDownloadThread::FlushBuffer() {
    if (buffered_ == 0) return;
    if (!owner_.WriteSegmentData(buffer_.get(), static_cast<uint32_t>(buffered_), index_, first_ + written_)) {
        ReportDownloadError(logger_, kDownloadThreadError, kWriteFileError);
        throw CorvanError(" write file failed");
    }
    written_ += static_cast<int64_t>(buffered_);
    buffered_ = 0;
}

void CDownloadThread::CloseConnection() { ::shutdown(Socket(), SD_BOTH); }
