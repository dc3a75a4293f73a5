// The installer's one door to the analytics SDK: named events with typed
// properties, the SDK's numbered records, and a few SDK services.
//
// Threads: any thread may report. Property sets are per thread: ClearProperties,
// the setters and SendEvent of one thread act on that thread's own set, so two
// threads composing events at the same time never mix their properties. The
// writers, SendEvent, the data services, Reinitialize and ReleaseSdk hold the
// logger's lock for their whole run; it is always the last lock taken. Nothing
// here throws to its caller or reports an error to the user.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/Win32Handle.h"

class ILoggerServer {
public:
    virtual bool WriteClickRecord(const char* pageCode, const char* actionCode, const char* extra) = 0;
    // paths are held in the system ANSI code page.
    virtual bool WriteStateRecord(int kind, const char* text1, const char* text2, const char* text3, const char* text4,
                                  std::vector<std::string> paths) = 0;
    virtual bool SendEvent(const char* name) = 0;
    virtual void ClearProperties() = 0;
    virtual void SetIntProperty(const char* key, int32_t value) = 0;
    virtual void SetBoolProperty(const char* key, bool value) = 0;
    // value is UTF-8.
    virtual void SetStringProperty(const char* key, const char* value) = 0;
    virtual bool WriteStartRecord(int number, const char* text1, const char* text2, const char* text3) = 0;
    virtual std::string BuildHttpData(int kind, const std::string& bytes) = 0;
    virtual std::string DecryptData(const std::string& bytes) = 0;
    virtual std::string GetMid() = 0;
    virtual std::string GetMidEx(int kind) = 0;
    virtual bool Reinitialize() = 0;
    virtual bool ReleaseSdk() = 0;
    virtual bool OpenUrl(const char* url) = 0;
    virtual int Reserved(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) = 0;

protected:
    ~ILoggerServer() = default;
};

// The process-wide instance, constructed (and the SDK loaded) on first use;
// null only when construction itself failed.
ILoggerServer* GetLoggerServer();

struct QpxCoreTable;
struct QpxRecordTable;
struct QpxDataTable;
class CXMutex;

// The properties of the next event. Keys are compared byte-wise; a key keeps
// the first value stored until the set is cleared.
struct EventProperties {
    std::map<std::string, int32_t> ints;
    std::map<std::string, bool> bools;
    std::map<std::string, std::string> texts;
};

class CLoggerServer final : public ILoggerServer {
public:
    // Loads the SDK from the installer's own resources; on any failure the
    // instance works in its degraded or record-less form.
    CLoggerServer();
    // Takes tables that are already built and initialised (tests, and the SDK
    // loader itself); any of them may be null.
    CLoggerServer(std::wstring libraryPath, std::unique_ptr<QpxCoreTable> core, std::unique_ptr<QpxRecordTable> record,
                  std::unique_ptr<QpxDataTable> data);
    ~CLoggerServer();
    CLoggerServer(const CLoggerServer&) = delete;
    CLoggerServer& operator=(const CLoggerServer&) = delete;

    bool WriteClickRecord(const char* pageCode, const char* actionCode, const char* extra) override;
    bool WriteStateRecord(int kind, const char* text1, const char* text2, const char* text3, const char* text4,
                          std::vector<std::string> paths) override;
    bool SendEvent(const char* name) override;
    void ClearProperties() override;
    void SetIntProperty(const char* key, int32_t value) override;
    void SetBoolProperty(const char* key, bool value) override;
    void SetStringProperty(const char* key, const char* value) override;
    bool WriteStartRecord(int number, const char* text1, const char* text2, const char* text3) override;
    std::string BuildHttpData(int kind, const std::string& bytes) override;
    std::string DecryptData(const std::string& bytes) override;
    std::string GetMid() override;
    std::string GetMidEx(int kind) override;
    bool Reinitialize() override;
    bool ReleaseSdk() override;
    bool OpenUrl(const char* url) override;
    int Reserved(intptr_t a, intptr_t b, intptr_t c, intptr_t d, intptr_t e) override;

    const std::wstring& LibraryPath() const { return libraryPath_; }
    bool HasCoreTable() const { return core_ != nullptr; }
    bool HasRecordTable() const { return record_ != nullptr; }
    bool HasDataTable() const { return data_ != nullptr; }

    // The sequence number of an event sent at unixSeconds as the counter-th
    // event of the process.
    static int32_t SequenceNumber(int64_t unixSeconds, int32_t counter);

private:
    struct RecordFields;
    void LoadSdk();
    void FreeSdk();
    void* CreateRecord(int type);
    void CommitRecord(void* record);
    void WriteTextField(void* record, int field, const char* text);
    EventProperties& OwnProperties();
    EventProperties TakeOwnPropertiesCopy();

    // Freed last, after qpxFree has stopped the library's own thread, so the
    // temporary cache folder that holds it can be deleted at process exit.
    ModuleHandle library_;
    std::wstring libraryPath_;
    std::unique_ptr<CXMutex> lock_;
    std::unique_ptr<QpxCoreTable> core_;
    std::unique_ptr<QpxRecordTable> record_;
    std::unique_ptr<QpxDataTable> data_;
    // One property set per reporting thread, keyed by thread id; guarded by
    // propertiesLock_, which is never held while another lock is taken.
    std::unique_ptr<CXMutex> propertiesLock_;
    std::map<uint32_t, EventProperties> properties_;
    int32_t eventCounter_ = 0;
};
