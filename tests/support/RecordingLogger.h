// An event logger that keeps the events it is given, to check what a part of
// the installer reports and how often. Any thread may report: each keeps its
// own properties until its SendEvent, as with the real logger.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "report/LoggerServer.h"
#include "sys/XMutex.h"

class RecordingLogger : public ILoggerServer {
public:
    struct Event {
        std::string name;
        std::map<std::string, int32_t> ints;
        std::map<std::string, std::string> texts;
    };
    // Read it directly once the reporting threads are done; All() while they run.
    std::vector<Event> events;

    virtual ~RecordingLogger() = default;

    std::vector<Event> All() {
        CXMutexLock hold(lock_);
        return events;
    }

    bool SendEvent(const char* name) override {
        CXMutexLock hold(lock_);
        Event& event = pending_[::GetCurrentThreadId()];
        event.name = name;
        events.push_back(event);
        return true;
    }
    void ClearProperties() override {
        CXMutexLock hold(lock_);
        pending_[::GetCurrentThreadId()] = Event{};
    }
    void SetIntProperty(const char* key, int32_t value) override {
        CXMutexLock hold(lock_);
        pending_[::GetCurrentThreadId()].ints.emplace(key, value);
    }
    void SetStringProperty(const char* key, const char* value) override {
        CXMutexLock hold(lock_);
        pending_[::GetCurrentThreadId()].texts.emplace(key, value);
    }
    void SetBoolProperty(const char*, bool) override {}
    bool WriteClickRecord(const char*, const char*, const char*) override { return false; }
    bool WriteStateRecord(int, const char*, const char*, const char*, const char*, std::vector<std::string>) override {
        return false;
    }
    bool WriteStartRecord(int, const char*, const char*, const char*) override { return false; }
    std::string BuildHttpData(int, const std::string&) override { return {}; }
    std::string DecryptData(const std::string&) override { return {}; }
    std::string GetMid() override { return {}; }
    std::string GetMidEx(int) override { return {}; }
    bool Reinitialize() override { return false; }
    bool ReleaseSdk() override { return true; }
    bool OpenUrl(const char*) override { return false; }
    int Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) override { return 0; }

private:
    CXMutex lock_;
    std::map<DWORD, Event> pending_;
};
