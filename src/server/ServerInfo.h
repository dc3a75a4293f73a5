// What the gateway says about this installer's channel: the product's app id
// and name, the welcome page, the advertising account and whether the
// install-attribution report is wanted.
//
// Threading: CReadServerInfoThread writes the record under the instance's
// lock and then sets the status; the accessors take no lock, so readers rely
// on the record only once the status is no longer 0. Cancel: the owner's
// destructor sets the stop flag, tested after every attempt, and ends the
// thread after a short grace.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "server/GatewayReply.h"
#include "server/GatewayTarget.h"
#include "sys/CorvanBasedThread.h"
#include "sys/XMutex.h"

class IServerInfo {
public:
    enum Status : int32_t { kRunning = 0, kDone = 1, kFailed = 2 };

    virtual ~IServerInfo() = default;
    virtual int32_t GetStatus() = 0;
    virtual const char* GetWelcomeUrl() = 0;
    virtual const char* GetAdAccountName() = 0;
    virtual bool IsAttributionWanted() = 0;
    virtual const char* GetAppId() = 0;
    virtual const char* GetAppName() = 0;
    virtual void ClearWelcomeUrl() = 0;
};

class CServerInfo;

class CReadServerInfoThread final : public CCorvanBasedThread {
public:
    CReadServerInfoThread(CServerInfo& target, GatewayTarget gateway);
    ~CReadServerInfoThread() override;

    uint32_t Run() override;

private:
    std::string AskGateway(const std::string& path) const;

    std::atomic<bool> stop_{false};
    CServerInfo& target_;
    GatewayTarget gateway_;
};

class CServerInfo final : public IServerInfo {
public:
    // Starts the query at once; the channel is read from SharedSettings.
    explicit CServerInfo(GatewayTarget gateway = GatewayTarget());
    ~CServerInfo() override;

    int32_t GetStatus() override { return status_.load(); }
    const char* GetWelcomeUrl() override { return record_.welcomeUrl.c_str(); }
    const char* GetAdAccountName() override { return record_.adAccountName.c_str(); }
    bool IsAttributionWanted() override { return record_.attributionWanted; }
    const char* GetAppId() override { return record_.appId.c_str(); }
    const char* GetAppName() override { return record_.appName.c_str(); }
    void ClearWelcomeUrl() override { record_.welcomeUrl.clear(); }

    // For the query thread.
    void Store(ChannelRecord record);
    void Fail() { status_.store(kFailed); }

private:
    std::atomic<int32_t> status_{kRunning};
    CXMutex lock_;
    ChannelRecord record_;
    std::unique_ptr<CReadServerInfoThread> thread_;
};

// The process-wide instance, created (and its query started) on first use;
// null when it could not be created.
IServerInfo* GetServerInfo();
