#include "net/TcpClient.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "EndpointConfig.h"
#include "core/SharedSettings.h"
#include "net/DnsClient.h"
#include "net/NetConstants.h"
#include "net/NetworkSettings.h"
#include "sys/CorvanError.h"
#include "sys/TextOps.h"

namespace {

constexpr int32_t kDnsSystem = 0;
constexpr int32_t kDnsOwn = 1;
constexpr int32_t kProxyNone = 0;
constexpr int32_t kProxyHttp = 1;
constexpr size_t kProxyStatusOffset = 9;
constexpr size_t kProxyStatusLength = 3;
constexpr int64_t kProxyConnected = 200;

// The first address of a host entry, or INADDR_NONE.
uint32_t FirstAddress(const hostent* entry) {
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
        entry->h_addr_list[0] == nullptr) {
        return INADDR_NONE;
    }
    uint32_t address;
    std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    return address;
}

int SocketCallLength(size_t count) { return static_cast<int>(std::min<size_t>(count, INT_MAX)); }

void SetSocketTimeout(SOCKET socket, int option, int32_t milliseconds) {
    const DWORD value = static_cast<DWORD>(milliseconds);
    ::setsockopt(socket, SOL_SOCKET, option, reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

uint32_t CTCPClient::ResolveHost(const std::string& host) {
    if (dns_.mode == kDnsSystem) return FirstAddress(::gethostbyname(host.c_str()));
    if (dns_.mode != kDnsOwn) return INADDR_NONE;
    try {
        DnsResult result;
        if (ResolveViaDns(dns_.server.c_str(), host.c_str(), &result) != 0 || result.count < 1) return INADDR_NONE;
        char dotted[net::kIPv4TextBytes];
        if (!FormatIPv4(result.addresses[0], dotted, sizeof dotted)) return INADDR_NONE;
        const uint32_t address = FirstAddress(::gethostbyname(dotted));
        if (address != INADDR_NONE) host_ = dotted;
        return address;
    } catch (...) {
        return INADDR_NONE;
    }
}

void CTCPClient::SetServer(const std::string& host, uint16_t port) {
    host_ = host;
    port_ = port;
    const uint32_t address = ResolveHost(host);
    // A resolver answering 255.255.255.255 is as good as none: it is no server.
    if (address == INADDR_NONE) throw CorvanError("Can't resolve host name");
    address_ = address;
    netPort_ = ::htons(port);
}

void CTCPClient::ResolveWithFallback(const std::string& host, uint16_t port) {
    if (SharedSettings* settings = GetSharedSettings()) dns_ = settings->GetDns();
    try {
        SetServer(host, port);
        return;
    } catch (const CorvanError&) {
    }
    dns_.mode = kDnsOwn;
    dns_.server = endpoints::kDnsServer;
    SetServer(host, port);
    RecordDns(dns_);
}

void CTCPClient::SetTimeouts(int32_t receiveMs, int32_t sendMs) {
    if (receiveMs != receiveTimeout_) {
        receiveTimeout_ = receiveMs;
        if (socket_) SetSocketTimeout(socket_.Get(), SO_RCVTIMEO, receiveMs);
    }
    if (sendMs != sendTimeout_) {
        sendTimeout_ = sendMs;
        if (socket_) SetSocketTimeout(socket_.Get(), SO_SNDTIMEO, sendMs);
    }
}

void CTCPClient::Connect() {
    if (SharedSettings* settings = GetSharedSettings()) proxy_ = settings->GetProxy();
    try {
        ConnectOnce();
        return;
    } catch (const CorvanError&) {
    }
    ++connectFailures_;
    if (connectFailures_ % 2 == 0) {
        proxy_.type = kProxyNone;
    } else {
        DiscoverSystemProxy("http://" + host_, proxy_);
    }
    ConnectOnce();
    RecordProxy(proxy_);
}

void CTCPClient::ConnectOnce() {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = netPort_;
    target.sin_addr.s_addr = address_;

    socket_.Reset();
    socket_.Reset(::socket(AF_INET, SOCK_STREAM, 0));
    if (!socket_) throw CorvanError("Can't create socket");

    if (proxy_.type != kProxyNone) {
        ConnectThroughProxy(socket_.Get());
    } else {
        ConnectDirect(socket_.Get(), target);
    }
    ApplyTimeouts();

    if (proxy_.type == kProxyNone) return;
    if (proxy_.type != kProxyHttp) throw CorvanError("Proxy not support");
    if (!ProxyHandshake()) throw CorvanError("Proxy failed");
}

void CTCPClient::ConnectThroughProxy(SOCKET socket) {
    u_long nonBlocking = 1;
    if (::ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) throw CorvanError("Can't set not block");

    sockaddr_in proxy{};
    proxy.sin_family = AF_INET;
    proxy.sin_port = ::htons(proxy_.port);
    proxy.sin_addr.s_addr = FirstAddress(::gethostbyname(proxy_.host.c_str()));
    if (proxy.sin_addr.s_addr == INADDR_NONE) throw CorvanError("Can't connect proxy server");

    if (::connect(socket, reinterpret_cast<sockaddr*>(&proxy), sizeof proxy) == SOCKET_ERROR) {
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(socket, &writable);
        timeval timeout{net::kProxyConnectTimeoutSeconds, 0};
        int error = 0;
        int errorLength = sizeof error;
        if (::select(0, nullptr, &writable, nullptr, &timeout) <= 0 ||
            ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &errorLength) != 0 ||
            error != 0) {
            throw CorvanError("Can't connect proxy server");
        }
    }

    u_long blocking = 0;
    if (::ioctlsocket(socket, FIONBIO, &blocking) != 0) throw CorvanError("Can't set block");
}

void CTCPClient::ConnectDirect(SOCKET socket, const sockaddr_in& target) {
    const auto* address = reinterpret_cast<const sockaddr*>(&target);
    if (::connect(socket, address, sizeof target) == 0) return;
    if (::connect(socket, address, sizeof target) == 0) return;
    throw CorvanError("Connect failed");
}

void CTCPClient::ApplyTimeouts() {
    if (receiveTimeout_ != -1) SetSocketTimeout(socket_.Get(), SO_RCVTIMEO, receiveTimeout_);
    if (sendTimeout_ != -1) SetSocketTimeout(socket_.Get(), SO_SNDTIMEO, sendTimeout_);
}

bool CTCPClient::ProxyHandshake() {
    const std::string request = "CONNECT " + host_ + ":" + std::to_string(port_) + " HTTP/1.1\r\n\r\n";
    ::send(socket_.Get(), request.data(), static_cast<int>(request.size()), 0);

    std::vector<char> reply(net::kProxyBufferBytes, '\0');
    const int received = ::recv(socket_.Get(), reply.data(), static_cast<int>(reply.size() - 1), 0);
    if (received < 1) return false;
    const std::string text(reply.data());
    if (text.size() <= kProxyStatusOffset + 2) return false;
    return ParseInt64(text.substr(kProxyStatusOffset, kProxyStatusLength)) == kProxyConnected;
}

void CTCPClient::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent = ::send(socket_.Get(), bytes.data(), SocketCallLength(bytes.size()), 0);
        if (sent == SOCKET_ERROR) throw CorvanError("socket send failed");
        if (sent == 0) throw CorvanError("Server can't recv data");
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
}

void CTCPClient::RecvExact(size_t count, char* buffer) {
    while (count > 0) {
        const int received = ::recv(socket_.Get(), buffer, SocketCallLength(count), 0);
        if (received == SOCKET_ERROR) throw CorvanError("socket recv failed");
        if (received == 0) throw CorvanError("Server can't send data");
        buffer += received;
        count -= static_cast<size_t>(received);
    }
}
