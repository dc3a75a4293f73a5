#include "server/ServerInfo.h"

#include <windows.h>

#include <utility>

#include "core/SharedSettings.h"
#include "server/ServerConstants.h"
#include "sys/CorvanError.h"

CReadServerInfoThread::CReadServerInfoThread(CServerInfo& target, GatewayTarget gateway)
    : target_(target), gateway_(std::move(gateway)) {
    StartThread();
}

CReadServerInfoThread::~CReadServerInfoThread() {
    stop_ = true;
    StopWithGrace(server::kQueryStopGraceMs);
}

std::string CReadServerInfoThread::AskGateway(const std::string& path) const {
    std::string reply;
    for (int32_t attempt = 0; attempt < server::kServerInfoAttempts; ++attempt) {
        if (attempt != 0) ::Sleep(server::kServerInfoRetryPauseMs);
        reply = QueryGateway(gateway_.host, gateway_.port, path, gateway_.host);
        if (!reply.empty()) break;
        if (stop_) throw CorvanError("user cancel");
    }
    return reply;
}

uint32_t CReadServerInfoThread::Run() {
    try {
        SharedSettings* settings = GetSharedSettings();
        const std::string channel = settings ? settings->GetChannel() : std::string();
        if (channel.empty()) {
            target_.Store(ChannelRecord{});
            return 0;
        }
        target_.Store(ParseServerInfoReply(AskGateway(BuildWelcomePath(channel))));
        return 0;
    } catch (...) {
        target_.Fail();
        return 1;
    }
}

CServerInfo::CServerInfo(GatewayTarget gateway) {
    thread_ = std::make_unique<CReadServerInfoThread>(*this, std::move(gateway));
}

CServerInfo::~CServerInfo() { thread_.reset(); }

void CServerInfo::Store(ChannelRecord record) {
    {
        CXMutexLock hold(lock_);
        record_ = std::move(record);
    }
    status_ = kDone;
}

IServerInfo* GetServerInfo() {
    static std::unique_ptr<CServerInfo> instance = []() -> std::unique_ptr<CServerInfo> {
        try {
            return std::make_unique<CServerInfo>();
        } catch (...) {
            return nullptr;
        }
    }();
    return instance.get();
}
