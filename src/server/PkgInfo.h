// The package the gateway names for this installer: its URL, version, sizes
// and MD5, fetched once in the background.
//
// Threading: CReadPkgInfoThread writes the record under the instance's lock
// and then sets the status; GetStatus and the sizes are read without the
// lock, the texts and URLs under it. Readers rely on the record only after
// they have seen status 1. Cancel: the owner's destructor sets the stop flag,
// which the thread tests around every attempt, and ends the thread after a
// short grace.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "server/GatewayReply.h"
#include "server/GatewayTarget.h"
#include "sys/CorvanBasedThread.h"
#include "sys/XMutex.h"

class IPkgInfo {
public:
    enum Status : int32_t { kRunning = 0, kDone = 1, kFailed = 2 };

    virtual ~IPkgInfo() = default;
    virtual int32_t GetStatus() = 0;
    virtual int64_t GetPackageSize() = 0;
    virtual int64_t GetInstallationSize() = 0;
    // Texts stay valid until the next Reset; null when empty.
    virtual const char* GetVersionCode() = 0;
    virtual int32_t GetUrlCount() = 0;
    virtual const char* GetUrl(int32_t index) = 0;
    virtual const char* GetMd5() = 0;
    virtual void Reset() = 0;
};

class CPkgInfo;

class CReadPkgInfoThread final : public CCorvanBasedThread {
public:
    CReadPkgInfoThread(CPkgInfo& target, GatewayTarget gateway, std::string path);
    ~CReadPkgInfoThread() override;

    uint32_t Run() override;

private:
    std::string AskGateway() const;

    std::atomic<bool> stop_{false};
    CPkgInfo& target_;
    GatewayTarget gateway_;
    std::string path_;
};

class CPkgInfo final : public IPkgInfo {
public:
    // Starts the query at once.
    explicit CPkgInfo(GatewayTarget gateway = GatewayTarget());
    ~CPkgInfo() override;

    int32_t GetStatus() override { return status_.load(); }
    int64_t GetPackageSize() override { return size_.load(); }
    int64_t GetInstallationSize() override { return installationSize_.load(); }
    const char* GetVersionCode() override;
    int32_t GetUrlCount() override;
    const char* GetUrl(int32_t index) override;
    const char* GetMd5() override;
    void Reset() override;

    // For the query thread.
    void Store(PkgRecord record);
    void Fail() { status_.store(kFailed); }

private:
    const char* TextOrNull(const std::string& text);

    std::atomic<int32_t> status_{kRunning};
    CXMutex lock_;
    PkgRecord record_;
    // The sizes are also kept apart so that lock-free readers never see half
    // of a 64-bit value.
    std::atomic<int64_t> size_{kDefaultPackageSize};
    std::atomic<int64_t> installationSize_{kDefaultInstallationSize};
    std::unique_ptr<CReadPkgInfoThread> thread_;
};

// The process-wide instance, created (and its query started) on first use;
// null when it could not be created.
IPkgInfo* GetPkgInfo();
