#include "report/sdk/QpxSdk.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "report/sdk/MachineId.h"
#include "report/sdk/SdkLimits.h"

namespace {

constexpr int kOk = 0;
constexpr int kBadArgument = -1;
constexpr int kNotOpen = -2;
constexpr int kStillRunning = -3;
constexpr char kMidSalt[] = "qpx:";

bool IsEmpty(const char* text) { return text == nullptr || *text == '\0'; }

std::wstring Utf8ToWideText(const char* text) {
    const int chars = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (chars <= 0) return {};
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), chars);
    wide.resize(static_cast<size_t>(chars - 1));
    return wide;
}

uint8_t* CopyToSdkBuffer(const void* bytes, int32_t length, int32_t* outLength) {
    if (outLength != nullptr) *outLength = 0;
    if (bytes == nullptr || length <= 0 || outLength == nullptr) return nullptr;
    auto* buffer = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length)));
    if (buffer == nullptr) return nullptr;
    std::memcpy(buffer, bytes, static_cast<size_t>(length));
    *outLength = length;
    return buffer;
}

}  // namespace

CQpxSdk& CQpxSdk::Instance() {
    // Never destroyed: at process exit the sender's thread is already gone
    // and there is nothing left to wait for.
    static CQpxSdk* sdk = new CQpxSdk();
    return *sdk;
}

int CQpxSdk::Create(uint32_t* handle) {
    if (handle == nullptr) return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    if (openHandle_ == 0) openHandle_ = ++lastHandle_;
    *handle = openHandle_;
    return kOk;
}

int CQpxSdk::Free(uint32_t handle) {
    std::unique_ptr<CSdkSender> sender;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (handle == 0 || handle != openHandle_) return kNotOpen;
        openHandle_ = 0;
        sender = std::move(sender_);
    }
    const bool ended = !sender || sender->Stop(kSdkFreeFlushMs);
    RestoreCrashFilter();
    if (!ended) {
        // The host must keep the library loaded while the thread lives.
        sender.release();
        return kStillRunning;
    }
    return kOk;
}

int CQpxSdk::SetApplyKey(const char* appId, const char* appKey) {
    if (IsEmpty(appId) || IsEmpty(appKey)) return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    identity_.appId = appId;
    return kOk;
}

int CQpxSdk::SetAppInfo(const char* appName) {
    if (IsEmpty(appName)) return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    identity_.appName = appName;
    return kOk;
}

int CQpxSdk::SetHostInfo(const char* host, int port) {
    if (IsEmpty(host) || port <= 0 || port > 65535) return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    host_ = host;
    port_ = static_cast<uint16_t>(port);
    return kOk;
}

int CQpxSdk::SetSensorUrl(const char* path) {
    if (IsEmpty(path) || *path != '/') return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    sensorPath_ = path;
    return kOk;
}

int CQpxSdk::SetCertificate(const char* base64Der, bool isPrivate) {
    if (IsEmpty(base64Der)) return kBadArgument;
    std::lock_guard<std::mutex> guard(mutex_);
    (isPrivate ? privateKey_ : publicKey_) = base64Der;
    return kOk;
}

// The host may unload the library after qpxFree: no filter may point into it then.
void CQpxSdk::RestoreCrashFilter() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!crashFilterInstalled_) return;
    ::SetUnhandledExceptionFilter(previousCrashFilter_);
    crashFilterInstalled_ = false;
}

int CQpxSdk::EnableCrashReport(QpxCrashCallback callback, void* context) {
    if (callback == nullptr) return kBadArgument;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        crashCallback_ = callback;
        crashContext_ = context;
    }
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(&QpxCrashFilter);
    std::lock_guard<std::mutex> guard(mutex_);
    if (!crashFilterInstalled_) previousCrashFilter_ = previous;
    crashFilterInstalled_ = true;
    return kOk;
}

CSdkRecord* CQpxSdk::CreateRecord(uint32_t handle, int type) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (handle == 0 || handle != openHandle_) return nullptr;
    return new CSdkRecord(type);
}

bool CQpxSdk::Commit(CSdkRecord* record) {
    const std::string mid = Mid();
    std::lock_guard<std::mutex> guard(mutex_);
    if (openHandle_ == 0 || host_.empty() || sensorPath_.empty()) return false;
    if (!sender_) sender_ = std::make_unique<CSdkSender>(host_, port_, sensorPath_);
    SdkIdentity identity = identity_;
    identity.mid = mid;
    return sender_->Enqueue(record->ToJson(identity, ++commits_));
}

const char* CQpxSdk::Mid() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (mid_.empty()) mid_ = MachineDigest(kMidSalt);
    return mid_.c_str();
}

void CQpxSdk::ReportCrash(const std::wstring& dumpPath) {
    QpxCrashCallback callback = nullptr;
    void* context = nullptr;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        callback = crashCallback_;
        context = crashContext_;
    }
    if (callback != nullptr) callback(context, dumpPath.c_str());
    CSdkSender* sender = nullptr;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        sender = sender_.get();
    }
    if (sender != nullptr) sender->Flush(kSdkCrashFlushMs);
}

#define QPX_EXPORT extern "C" __declspec(dllexport)

QPX_EXPORT int qpxCreate(uint32_t* handle) { return CQpxSdk::Instance().Create(handle); }
QPX_EXPORT int qpxFree(uint32_t handle) { return CQpxSdk::Instance().Free(handle); }
QPX_EXPORT int qpxSetApplyKey(const char* appId, const char* appKey) {
    return CQpxSdk::Instance().SetApplyKey(appId, appKey);
}
QPX_EXPORT int qpxSetAppInfo(const char* appName, int, int) { return CQpxSdk::Instance().SetAppInfo(appName); }
QPX_EXPORT int qpxSetPubCertificate(const char* base64Der) {
    return CQpxSdk::Instance().SetCertificate(base64Der, false);
}
QPX_EXPORT int qpxSetPriCcertificate(const char* base64Der) {
    return CQpxSdk::Instance().SetCertificate(base64Der, true);
}
QPX_EXPORT int qpxSetHostInfo(const char* host, int port) { return CQpxSdk::Instance().SetHostInfo(host, port); }
QPX_EXPORT int qpxSetSensorUrl(const char* path) { return CQpxSdk::Instance().SetSensorUrl(path); }
QPX_EXPORT int qpxSetMidVersion(int) { return kOk; }
QPX_EXPORT int qpxEnableSandbox(int) { return kOk; }
QPX_EXPORT int qpxSetNetProtocol(int) { return kOk; }
QPX_EXPORT int qpxSetURLVersion(const char*) { return kOk; }
QPX_EXPORT int qpxEnableCrashReport(QpxCrashCallback callback, void* context) {
    return CQpxSdk::Instance().EnableCrashReport(callback, context);
}

QPX_EXPORT int qpxCLTCreate(uint32_t handle, int type, void** record) {
    if (record == nullptr) return kBadArgument;
    *record = CQpxSdk::Instance().CreateRecord(handle, type);
    return *record != nullptr ? kOk : kNotOpen;
}
QPX_EXPORT int qpxCLTSensorWriteEvent(void* record, const char* name, int32_t sequence) {
    if (record == nullptr || name == nullptr) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteEvent(name, sequence);
    return kOk;
}
QPX_EXPORT int qpxCLTSensorWriteIntProperties(void* record, const char* key, int32_t value) {
    if (record == nullptr || key == nullptr) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteIntProperty(key, value);
    return kOk;
}
QPX_EXPORT int qpxCLTSensorWriteBoolProperties(void* record, const char* key, uint8_t value) {
    if (record == nullptr || key == nullptr) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteBoolProperty(key, value != 0);
    return kOk;
}
QPX_EXPORT int qpxCLTSensorWriteStringProperties(void* record, const char* key, const char* value) {
    if (record == nullptr || key == nullptr || value == nullptr) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteStringProperty(key, value);
    return kOk;
}
QPX_EXPORT int qpxCLTWriteInt(void* record, int field, int32_t value) {
    if (record == nullptr) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteInt(field, value);
    return kOk;
}
QPX_EXPORT int qpxCLTWriteData(void* record, int field, const void* bytes, int32_t length) {
    if (record == nullptr || length < 0 || (bytes == nullptr && length > 0)) return kBadArgument;
    static_cast<CSdkRecord*>(record)->WriteData(
        field, std::string_view(static_cast<const char*>(bytes), static_cast<size_t>(length)));
    return kOk;
}
QPX_EXPORT int qpxCLTCommit(void* record) {
    if (record == nullptr) return kBadArgument;
    return CQpxSdk::Instance().Commit(static_cast<CSdkRecord*>(record)) ? kOk : kNotOpen;
}
QPX_EXPORT int qpxCLTFree(void* record) {
    delete static_cast<CSdkRecord*>(record);
    return kOk;
}

// The SDK neither encrypts nor frames: both data services hand back a copy.
QPX_EXPORT uint8_t* qpxBuildHttpData(int, const void* bytes, int32_t length, int32_t* outLength, int, const char*) {
    return CopyToSdkBuffer(bytes, length, outLength);
}
QPX_EXPORT uint8_t* qpxDecryptData(const void* bytes, int32_t length, int32_t* outLength) {
    return CopyToSdkBuffer(bytes, length, outLength);
}
QPX_EXPORT void qpxDataFree(void* buffer) { std::free(buffer); }
QPX_EXPORT const char* qpxMid() { return CQpxSdk::Instance().Mid(); }
QPX_EXPORT const char* qpxMidEx(int) { return CQpxSdk::Instance().Mid(); }
QPX_EXPORT int qpxOpenUrl(const char* url) {
    if (IsEmpty(url)) return kBadArgument;
    const std::wstring wide = Utf8ToWideText(url);
    const auto result =
        reinterpret_cast<intptr_t>(::ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? kOk : kBadArgument;
}
