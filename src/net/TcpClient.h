// The one TCP connection object of the installer: resolves its server (system
// resolver, else the own DNS client against the public resolver), connects
// directly or through an HTTP proxy with CONNECT, and falls back between the
// two on its own. What worked is stored in SharedSettings for every later
// connection.
//
// Threading: an object belongs to the thread that built it; only the copies
// from and to SharedSettings are shared, under that record's lock, never held
// across a socket call. There is no cancel: a blocked call ends with the
// socket time-outs set by SetTimeouts (or the system's), the 1-second proxy
// connect wait or the 3-second DNS wait. Every failure throws CorvanError;
// the object stays usable and the next Connect starts over.
#pragma once

#include <winsock2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/NetConfig.h"
#include "sys/Win32Handle.h"

class CTCPClient {
public:
    CTCPClient() = default;
    virtual ~CTCPClient() = default;
    CTCPClient(const CTCPClient&) = delete;
    CTCPClient& operator=(const CTCPClient&) = delete;

    // Resolves host by the client's DnsConfig; "Can't resolve host name" when
    // nothing results.
    void SetServer(const std::string& host, uint16_t port);
    // SetServer with the process's DnsConfig; when that fails, once more
    // through the own DNS client and the configured public resolver, which
    // then becomes the process's setting.
    void ResolveWithFallback(const std::string& host, uint16_t port);
    // Milliseconds; -1 keeps the system default. Applied at once when
    // connected, else at the next connection.
    void SetTimeouts(int32_t receiveMs, int32_t sendMs);
    // Connects with the process's proxy setting; after a failure tries once
    // more, alternately through the user's system proxy and directly.
    void Connect();
    void SendAll(std::string_view bytes);
    // Exactly count bytes, count > 0.
    void RecvExact(size_t count, char* buffer);

    const std::string& Host() const { return host_; }
    uint32_t Address() const { return address_; }
    const ProxyConfig& Proxy() const { return proxy_; }
    const DnsConfig& Dns() const { return dns_; }
    int32_t ConnectFailures() const { return connectFailures_; }

protected:
    void ConnectOnce();
    bool ProxyHandshake();
    void SetProxy(const ProxyConfig& proxy) { proxy_ = proxy; }
    void SetDns(const DnsConfig& dns) { dns_ = dns; }
    SOCKET Socket() const { return socket_.Get(); }

private:
    uint32_t ResolveHost(const std::string& host);
    void ConnectThroughProxy(SOCKET socket);
    void ConnectDirect(SOCKET socket, const sockaddr_in& target);
    void ApplyTimeouts();

    std::string host_;
    uint32_t address_ = INADDR_NONE;  // network byte order
    uint16_t port_ = 0;
    uint16_t netPort_ = 0xFFFF;
    int32_t receiveTimeout_ = -1;
    int32_t sendTimeout_ = -1;
    int32_t connectFailures_ = 0;
    SocketHandle socket_;
    ProxyConfig proxy_;
    DnsConfig dns_;
};
