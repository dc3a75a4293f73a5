// The loopback peers that tools/cloud/net_peers.py serves for these tests (the
// local cloud's fixture starts and stops them), and what every network test
// needs around them.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/SharedSettings.h"
#include "net/TcpHttp.h"
#include "sys/CorvanError.h"
#include "sys/Win32Handle.h"

namespace netpeers {

inline constexpr char kHttpHost[] = "127.0.4.1";
inline constexpr uint16_t kHttpPort = 18480;
inline constexpr uint16_t kDeadPort = 18479;  // nothing listens here
inline constexpr char kProxyHost[] = "127.0.4.2";
inline constexpr uint16_t kTunnelProxyPort = 18481;  // tunnels every CONNECT to the HTTP server
inline constexpr uint16_t kRefusingProxyPort = 18482;
inline constexpr uint16_t kShortProxyPort = 18483;
inline constexpr uint16_t kLateProxyPort = 18484;

// The bytes the peers last received for path ("/CONNECT/<target>" for the proxy).
inline std::string Recorded(const std::string& path) {
    CTCPHttp http(kHttpHost, kHttpPort);
    return http.Get("/__recorded__" + path, "");
}

// The message of the CorvanError that call throws, or "" when it throws none.
template <typename Call>
std::string FailureOf(Call call) {
    try {
        call();
    } catch (const CorvanError& error) {
        return error.what();
    }
    return {};
}

// The user's Internet settings live in the prefix's one registry, and the
// connection fallback reads them: network tests run one at a time.
class NetTest : public ::testing::Test {
protected:
    NetTest() : lock_(::CreateMutexW(nullptr, FALSE, L"TarvelNetTests")) {
        ::WaitForSingleObject(lock_.Get(), INFINITE);
        WSADATA data;
        ::WSAStartup(0x0101, &data);
    }
    ~NetTest() override {
        ::WSACleanup();
        ::ReleaseMutex(lock_.Get());
    }

    // Names that no resolver here knows may only be asked inside the
    // harness's private network namespace, where asking never leaves the machine.
    static bool InPrivateNetwork() { return std::getenv("TARVEL_IN_NETNS") != nullptr; }

    SharedSettingsScope settings_;

private:
    KernelHandle lock_;
};

}  // namespace netpeers
