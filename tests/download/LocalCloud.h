// The local vendor cloud of tools/cloud/cloud.py as the tests drive it: a CTest
// fixture starts it for the run, each test sets its scenario on the control
// address and reads back the requests the cloud received.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EndpointConfig.h"
#include "core/SharedSettings.h"
#include "net/TcpHttp.h"
#include "report/LoggerServer.h"
#include "sys/TextOps.h"
#include "sys/Win32Handle.h"
#include "sys/XMutex.h"

namespace cloud {

inline constexpr char kControlHost[] = "127.0.0.9";

inline std::string Control(const std::string& command) {
    CTCPHttp http(kControlHost, endpoints::kHttpPort);
    http.SetTimeouts(10000, 10000);
    return http.Get("/__cloud__/" + command, kControlHost);
}

inline void Set(const std::string& query) { ASSERT_FALSE(Control("set?" + query).empty()) << query; }

struct Request {
    std::string role;  // gateway_name, gateway_fallback, cdn, support
    std::string method;
    std::string path;
    std::string query;
    std::string host;
    std::string range;
    bool refused = false;
};

inline std::vector<Request> Log() {
    const std::string text = Control("log");
    Json::Value entries;
    std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    reader->parse(text.data(), text.data() + text.size(), &entries, nullptr);
    std::vector<Request> requests;
    for (const Json::Value& entry : entries) {
        requests.push_back(Request{entry["role"].asString(), entry["method"].asString(), entry["path"].asString(),
                                   entry["query"].asString(), entry["host"].asString(), entry["range"].asString(),
                                   entry["refused"].asBool() || entry["down"].asBool()});
    }
    return requests;
}

inline std::vector<Request> Requests(const std::string& role, const std::string& method = "") {
    std::vector<Request> chosen;
    for (const Request& request : Log())
        if (request.role == role && !request.refused && (method.empty() || request.method == method))
            chosen.push_back(request);
    return chosen;
}

inline std::string PackageBytes() { return Control("package"); }

// An event logger that keeps what any thread sends.
class Events final : public ILoggerServer {
public:
    struct Event {
        std::string name;
        std::map<std::string, int32_t> ints;
        std::map<std::string, std::string> texts;
    };

    std::vector<Event> All() {
        CXMutexLock hold(lock_);
        return events_;
    }
    // The error_status values of every vSoftDownloadError, in order.
    std::vector<std::string> ErrorStatuses() {
        std::vector<std::string> statuses;
        for (const Event& event : All())
            if (event.name == "vSoftDownloadError") statuses.push_back(event.texts.at("error_status"));
        return statuses;
    }

    bool SendEvent(const char* name) override {
        CXMutexLock hold(lock_);
        Event& event = pending_[::GetCurrentThreadId()];
        event.name = name;
        events_.push_back(event);
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
    std::vector<Event> events_;
    std::map<DWORD, Event> pending_;
};

// The cloud has one scenario: its tests run one at a time, each from the
// defaults.
class CloudTest : public ::testing::Test {
protected:
    CloudTest() : lock_(::CreateMutexW(nullptr, FALSE, L"TarvelCloudTests")) {
        ::WaitForSingleObject(lock_.Get(), INFINITE);
        WSADATA data;
        ::WSAStartup(0x0101, &data);
        Control("reset");
    }
    ~CloudTest() override {
        ::WSACleanup();
        ::ReleaseMutex(lock_.Get());
    }

    // Polls until condition holds or timeoutMs pass; answers condition().
    template <typename Condition>
    static bool WaitUntil(Condition condition, DWORD timeoutMs) {
        const DWORD start = ::GetTickCount();
        while (!condition()) {
            if (::GetTickCount() - start > timeoutMs) return false;
            ::Sleep(20);
        }
        return true;
    }

    SharedSettingsScope settings_;

private:
    KernelHandle lock_;
};

}  // namespace cloud
