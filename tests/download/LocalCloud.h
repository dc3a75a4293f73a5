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
#include "tests/support/RecordingLogger.h"

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

// The recording logger with the download engine's error statuses at hand.
class Events final : public RecordingLogger {
public:
    // The error_status values of every vSoftDownloadError, in order.
    std::vector<std::string> ErrorStatuses() {
        std::vector<std::string> statuses;
        for (const Event& event : All())
            if (event.name == "vSoftDownloadError") statuses.push_back(event.texts.at("error_status"));
        return statuses;
    }
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
