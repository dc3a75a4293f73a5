#include "report/LoggerServer.h"

#include <windows.h>

#include <ctime>

#include "report/EventCatalogue.h"
#include "report/QpxApi.h"
#include "report/QpxLoader.h"
#include "sys/CorvanError.h"
#include "sys/TextEncoding.h"
#include "sys/XMutex.h"

namespace {

constexpr int kRecordStart = 1;
constexpr int kRecordClick = 2;
constexpr int kRecordState = 4;
constexpr int kRecordEvent = 6;

constexpr int kFieldStartNumber = 1;
constexpr int kFieldStartFirstText = 2;
constexpr int kFieldClickPage = 10;
constexpr int kFieldClickAction = 11;
constexpr int kFieldClickExtra = 12;
constexpr int kFieldStateKind = 50;
constexpr int kFieldStateFirstText = 51;
constexpr int kFieldStateFile = 55;

constexpr int64_t kSequenceSecondsModulus = 10000000;
constexpr int32_t kSequenceCounterModulus = 100;

bool IsExistingFile(const std::string& ansiPath) {
    if (ansiPath.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(AnsiToWide(ansiPath).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string CopySdkBuffer(const QpxDataTable* data, uint8_t* buffer, int32_t length) {
    std::string result;
    if (buffer != nullptr && length > 0) result.assign(reinterpret_cast<const char*>(buffer), length);
    if (buffer != nullptr && data->qpxDataFree != nullptr) data->qpxDataFree(buffer);
    return result;
}

std::string MidText(const char* mid) { return mid != nullptr ? std::string(mid) : std::string(); }

// The SDK calls this from its crash filter, on the thread that crashed.
int OnSdkCrash(void* /*coreTable*/, const wchar_t* dumpPath) {
    ILoggerServer* logger = GetLoggerServer();
    if (logger == nullptr) return 0;
    using namespace catalogue;
    std::vector<std::string> dumpFiles{WideToAnsi(dumpPath != nullptr ? dumpPath : L"")};
    logger->WriteStateRecord(record::kStateKindCrash, record::kStateSource, record::kStateCrash, "", "",
                             std::move(dumpFiles));
    logger->WriteStateRecord(record::kStateKindRun, record::kStateSource, record::kStateExit, "", "", {});
    logger->ClearProperties();
    logger->SendEvent(event::kSoftDump);
    logger->ClearProperties();
    logger->SetStringProperty(prop::kEventName, value::kSoftCrash);
    logger->SendEvent(event::kSoftQuit);
    return 0;
}

}  // namespace

CLoggerServer::CLoggerServer() : lock_(std::make_unique<CXMutex>()), propertiesLock_(std::make_unique<CXMutex>()) {
    LoadSdk();
}

CLoggerServer::CLoggerServer(std::wstring libraryPath, std::unique_ptr<QpxCoreTable> core,
                             std::unique_ptr<QpxRecordTable> record, std::unique_ptr<QpxDataTable> data)
    : libraryPath_(std::move(libraryPath)),
      lock_(std::make_unique<CXMutex>()),
      core_(std::move(core)),
      record_(std::move(record)),
      data_(std::move(data)),
      propertiesLock_(std::make_unique<CXMutex>()) {}

CLoggerServer::~CLoggerServer() { FreeSdk(); }

// qpxFree answers 0 once the library's thread has ended; a library whose
// thread is still running stays loaded, since unmapping it would crash that thread.
void CLoggerServer::FreeSdk() {
    if (!core_ || core_->handle == 0 || core_->qpxFree == nullptr) return;
    if (core_->qpxFree(core_->handle) != 0) library_.Detach();
    core_->handle = 0;
}

void CLoggerServer::LoadSdk() {
    try {
        library_.Reset(LoadQpxLibrary(libraryPath_));
        const HMODULE library = library_.Get();
        auto core = BuildQpxCoreTable(library);
        InitialiseQpx(*core, &OnSdkCrash);
        core_ = std::move(core);
        try {
            record_ = BuildQpxRecordTable(library);
        } catch (...) {
            // Record-less: events and records are dropped, data services remain.
        }
        data_ = BuildQpxDataTable(library);
    } catch (...) {
        // Degraded: no tables, every event dropped; the library stays loaded,
        // since a library that started its thread must not be unmapped under it.
        library_.Detach();
        core_.reset();
        record_.reset();
        data_.reset();
    }
}

int32_t CLoggerServer::SequenceNumber(int64_t unixSeconds, int32_t counter) {
    const int64_t seconds =
        ((unixSeconds % kSequenceSecondsModulus) + kSequenceSecondsModulus) % kSequenceSecondsModulus;
    const int64_t step = ((counter % kSequenceCounterModulus) + kSequenceCounterModulus) % kSequenceCounterModulus;
    return static_cast<int32_t>(seconds * 100 + step);
}

EventProperties& CLoggerServer::OwnProperties() { return properties_[::GetCurrentThreadId()]; }

EventProperties CLoggerServer::TakeOwnPropertiesCopy() {
    CXMutexLock guard(*propertiesLock_);
    return OwnProperties();
}

void CLoggerServer::ClearProperties() {
    CXMutexLock guard(*propertiesLock_);
    properties_.erase(::GetCurrentThreadId());
}

void CLoggerServer::SetIntProperty(const char* key, int32_t value) {
    if (key == nullptr) return;
    CXMutexLock guard(*propertiesLock_);
    OwnProperties().ints.emplace(key, value);
}

void CLoggerServer::SetBoolProperty(const char* key, bool value) {
    if (key == nullptr) return;
    CXMutexLock guard(*propertiesLock_);
    OwnProperties().bools.emplace(key, value);
}

void CLoggerServer::SetStringProperty(const char* key, const char* value) {
    if (key == nullptr) return;
    CXMutexLock guard(*propertiesLock_);
    OwnProperties().texts.emplace(key, value != nullptr ? value : "");
}

// Called with the lock held. Null when records cannot be written.
void* CLoggerServer::CreateRecord(int type) {
    if (!record_ || !core_ || core_->handle == 0) return nullptr;
    void* record = nullptr;
    if (record_->qpxCLTCreate(core_->handle, type, &record) != 0) return nullptr;
    return record;
}

void CLoggerServer::CommitRecord(void* record) {
    record_->qpxCLTCommit(record);
    record_->qpxCLTFree(record);
}

void CLoggerServer::WriteTextField(void* record, int field, const char* text) {
    if (text == nullptr || *text == '\0') return;
    record_->qpxCLTWriteData(record, field, text, static_cast<int32_t>(strlen(text)));
}

bool CLoggerServer::SendEvent(const char* name) {
    const EventProperties properties = TakeOwnPropertiesCopy();
    CXMutexLock guard(*lock_);
    void* record = CreateRecord(kRecordEvent);
    if (record == nullptr) return false;
    const int32_t sequence = SequenceNumber(static_cast<int64_t>(::time(nullptr)), eventCounter_);
    ++eventCounter_;
    record_->qpxCLTSensorWriteEvent(record, name != nullptr ? name : "", sequence);
    for (const auto& [key, value] : properties.ints)
        record_->qpxCLTSensorWriteIntProperties(record, key.c_str(), value);
    for (const auto& [key, value] : properties.bools)
        record_->qpxCLTSensorWriteBoolProperties(record, key.c_str(), value ? 1 : 0);
    for (const auto& [key, value] : properties.texts)
        record_->qpxCLTSensorWriteStringProperties(record, key.c_str(), value.c_str());
    CommitRecord(record);
    return true;
}

bool CLoggerServer::WriteClickRecord(const char* pageCode, const char* actionCode, const char* extra) {
    CXMutexLock guard(*lock_);
    void* record = CreateRecord(kRecordClick);
    if (record == nullptr) return false;
    WriteTextField(record, kFieldClickPage, pageCode);
    WriteTextField(record, kFieldClickAction, actionCode);
    WriteTextField(record, kFieldClickExtra, extra);
    CommitRecord(record);
    return true;
}

bool CLoggerServer::WriteStartRecord(int number, const char* text1, const char* text2, const char* text3) {
    CXMutexLock guard(*lock_);
    void* record = CreateRecord(kRecordStart);
    if (record == nullptr) return false;
    record_->qpxCLTWriteInt(record, kFieldStartNumber, number);
    WriteTextField(record, kFieldStartFirstText, text1);
    WriteTextField(record, kFieldStartFirstText + 1, text2);
    WriteTextField(record, kFieldStartFirstText + 2, text3);
    CommitRecord(record);
    return true;
}

bool CLoggerServer::WriteStateRecord(int kind, const char* text1, const char* text2, const char* text3,
                                     const char* text4, std::vector<std::string> paths) {
    CXMutexLock guard(*lock_);
    void* record = CreateRecord(kRecordState);
    if (record == nullptr) return false;
    record_->qpxCLTWriteInt(record, kFieldStateKind, kind);
    WriteTextField(record, kFieldStateFirstText, text1);
    WriteTextField(record, kFieldStateFirstText + 1, text2);
    WriteTextField(record, kFieldStateFirstText + 2, text3);
    WriteTextField(record, kFieldStateFirstText + 3, text4);
    for (const std::string& path : paths) {
        if (IsExistingFile(path)) WriteTextField(record, kFieldStateFile, path.c_str());
    }
    CommitRecord(record);
    return true;
}

std::string CLoggerServer::BuildHttpData(int kind, const std::string& bytes) {
    CXMutexLock guard(*lock_);
    try {
        if (!data_ || data_->qpxBuildHttpData == nullptr) return {};
        int32_t length = 0;
        uint8_t* buffer =
            data_->qpxBuildHttpData(kind, bytes.data(), static_cast<int32_t>(bytes.size()), &length, 0, "/v1.1");
        return CopySdkBuffer(data_.get(), buffer, length);
    } catch (...) {
        return {};
    }
}

std::string CLoggerServer::DecryptData(const std::string& bytes) {
    CXMutexLock guard(*lock_);
    try {
        if (!data_ || data_->qpxDecryptData == nullptr) return {};
        int32_t length = 0;
        uint8_t* buffer = data_->qpxDecryptData(bytes.data(), static_cast<int32_t>(bytes.size()), &length);
        return CopySdkBuffer(data_.get(), buffer, length);
    } catch (...) {
        return {};
    }
}

std::string CLoggerServer::GetMid() {
    CXMutexLock guard(*lock_);
    try {
        if (!data_ || data_->qpxMid == nullptr) return {};
        return MidText(data_->qpxMid());
    } catch (...) {
        return {};
    }
}

std::string CLoggerServer::GetMidEx(int kind) {
    CXMutexLock guard(*lock_);
    try {
        if (!data_ || data_->qpxMidEx == nullptr) return {};
        return MidText(data_->qpxMidEx(kind));
    } catch (...) {
        return {};
    }
}

bool CLoggerServer::Reinitialize() {
    CXMutexLock guard(*lock_);
    try {
        if (!core_) throw CorvanError("QPX not init");
        if (core_->handle == 0) InitialiseQpx(*core_, &OnSdkCrash);
    } catch (...) {
        // A failed re-initialisation leaves the instance as it was.
    }
    return false;
}

bool CLoggerServer::ReleaseSdk() {
    CXMutexLock guard(*lock_);
    FreeSdk();
    return true;
}

bool CLoggerServer::OpenUrl(const char* url) {
    if (!data_ || data_->qpxOpenUrl == nullptr || url == nullptr || *url == '\0') return false;
    data_->qpxOpenUrl(url);
    return true;
}

int CLoggerServer::Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) { return 0; }

ILoggerServer* GetLoggerServer() {
    static std::unique_ptr<CLoggerServer> instance = []() -> std::unique_ptr<CLoggerServer> {
        try {
            return std::make_unique<CLoggerServer>();
        } catch (...) {
            return nullptr;
        }
    }();
    return instance.get();
}
