// An event logger that keeps the events it is given, to check what a part of
// the installer reports and how often.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "report/LoggerServer.h"

class RecordingLogger final : public ILoggerServer {
public:
    struct Event {
        std::string name;
        std::map<std::string, int32_t> ints;
        std::map<std::string, std::string> texts;
    };
    std::vector<Event> events;

    bool SendEvent(const char* name) override {
        pending_.name = name;
        events.push_back(pending_);
        return true;
    }
    void ClearProperties() override { pending_ = Event{}; }
    void SetIntProperty(const char* key, int32_t value) override { pending_.ints.emplace(key, value); }
    void SetStringProperty(const char* key, const char* value) override { pending_.texts.emplace(key, value); }
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
    Event pending_;
};
