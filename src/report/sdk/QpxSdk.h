// The analytics SDK inside "Qpx.dll": one open handle at a time, the
// application's identity and the analytics host, and the sender that posts
// every committed record as one JSON object to the sensor path.
//
// Threads: every export may be called from any thread; the SDK's lock is held
// only for bookkeeping, never across the network. The RSA keys given at
// initialisation are kept but not used: records are posted unsigned, in clear.
// After qpxFree nothing more is sent: records of the closed handle are dropped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "report/QpxApi.h"
#include "report/sdk/SdkRecord.h"
#include "report/sdk/SdkSender.h"

class CQpxSdk {
public:
    static CQpxSdk& Instance();

    int Create(uint32_t* handle);
    int Free(uint32_t handle);
    int SetApplyKey(const char* appId, const char* appKey);
    int SetAppInfo(const char* appName);
    int SetHostInfo(const char* host, int port);
    int SetSensorUrl(const char* path);
    int SetCertificate(const char* base64Der, bool isPrivate);
    int EnableCrashReport(QpxCrashCallback callback, void* context);

    // A new record for an open handle, or null.
    CSdkRecord* CreateRecord(uint32_t handle, int type);
    // Queues the record when its handle is still open; false when dropped.
    bool Commit(CSdkRecord* record);

    const char* Mid();
    // The crash filter's work once the dump is written: the installer's
    // callback, then a bounded wait for the records it wrote.
    void ReportCrash(const std::wstring& dumpPath);

private:
    void RestoreCrashFilter();
    CQpxSdk() = default;

    std::mutex mutex_;
    uint32_t lastHandle_ = 0;
    uint32_t openHandle_ = 0;
    SdkIdentity identity_;
    std::string host_;
    uint16_t port_ = 0;
    std::string sensorPath_;
    std::string publicKey_;
    std::string privateKey_;
    std::unique_ptr<CSdkSender> sender_;
    LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter_ = nullptr;
    bool crashFilterInstalled_ = false;
    uint64_t commits_ = 0;
    QpxCrashCallback crashCallback_ = nullptr;
    void* crashContext_ = nullptr;
    std::string mid_;
};

// The folder the minidump goes to: the folder above the SDK's own folder,
// which is the installer's temporary cache folder.
std::wstring CrashDumpFolder();
LONG WINAPI QpxCrashFilter(EXCEPTION_POINTERS* exception);
