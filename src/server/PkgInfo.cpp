#include "server/PkgInfo.h"

#include <windows.h>

#include <utility>

#include "core/AppInfo.h"
#include "server/ServerConstants.h"
#include "sys/CorvanError.h"
#include "sys/SystemInfo.h"
#include "sys/TextEncoding.h"

namespace {

std::string OwnVersionUtf8() {
    IAppInfo* appInfo = GetAppInfo();
    return appInfo ? WideToUtf8(appInfo->GetProductVersion(L"")) : std::string();
}

}  // namespace

CReadPkgInfoThread::CReadPkgInfoThread(CPkgInfo& target, GatewayTarget gateway, std::string path)
    : target_(target), gateway_(std::move(gateway)), path_(std::move(path)) {
    StartThread();
}

CReadPkgInfoThread::~CReadPkgInfoThread() {
    stop_ = true;
    StopWithGrace(server::kQueryStopGraceMs);
}

std::string CReadPkgInfoThread::AskGateway() const {
    std::string reply = QueryGateway(gateway_.host, gateway_.port, path_, gateway_.host);
    if (stop_) throw CorvanError("user cancel");
    if (reply.empty()) reply = QueryGateway(gateway_.fallbackIp, gateway_.port, path_, gateway_.fallbackIp);
    return reply;
}

uint32_t CReadPkgInfoThread::Run() {
    try {
        std::string reply;
        for (int32_t attempt = 0;; ++attempt) {
            if (stop_) throw CorvanError("user cancel");
            if (!reply.empty()) {
                target_.Store(ParsePkgInfoReply(reply));
                return 0;
            }
            if (attempt != 0) ::Sleep(server::kPkgInfoRetryPauseMs);
            reply = AskGateway();
        }
    } catch (...) {
        target_.Fail();
        return 1;
    }
}

CPkgInfo::CPkgInfo(GatewayTarget gateway) {
    std::string path = BuildPkgInfoPath(OwnVersionUtf8(), Is64BitSystem());
    thread_ = std::make_unique<CReadPkgInfoThread>(*this, std::move(gateway), std::move(path));
}

CPkgInfo::~CPkgInfo() { thread_.reset(); }

const char* CPkgInfo::TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

const char* CPkgInfo::GetVersionCode() {
    CXMutexLock hold(lock_);
    return TextOrNull(record_.versionCode);
}

int32_t CPkgInfo::GetUrlCount() {
    CXMutexLock hold(lock_);
    return static_cast<int32_t>(record_.entries.size());
}

const char* CPkgInfo::GetUrl(int32_t index) {
    CXMutexLock hold(lock_);
    if (index < 0 || static_cast<size_t>(index) >= record_.entries.size()) return nullptr;
    return record_.entries[static_cast<size_t>(index)].url.c_str();
}

const char* CPkgInfo::GetMd5() {
    CXMutexLock hold(lock_);
    return TextOrNull(record_.md5);
}

void CPkgInfo::Reset() {
    CXMutexLock hold(lock_);
    record_ = PkgRecord{};
    record_.size = 0;
    record_.installationSize = 0;
    size_ = 0;
    installationSize_ = 0;
}

void CPkgInfo::Store(PkgRecord record) {
    OrderDownloadEntries(record.entries);
    {
        CXMutexLock hold(lock_);
        record_ = std::move(record);
        size_ = record_.size;
        installationSize_ = record_.installationSize;
    }
    status_ = kDone;
}

IPkgInfo* GetPkgInfo() {
    static std::unique_ptr<CPkgInfo> instance = []() -> std::unique_ptr<CPkgInfo> {
        try {
            return std::make_unique<CPkgInfo>();
        } catch (...) {
            return nullptr;
        }
    }();
    return instance.get();
}
