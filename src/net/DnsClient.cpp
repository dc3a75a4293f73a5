#include "net/DnsClient.h"

#include <windows.h>
#include <winsock2.h>

#include <string>
#include <vector>

#include "net/NetConstants.h"
#include "sys/Win32Handle.h"

namespace {

constexpr int kUdpProtocol = 17;

bool WaitReadable(SOCKET socket) {
    for (;;) {
        fd_set readable;
        fd_set failed;
        FD_ZERO(&readable);
        FD_ZERO(&failed);
        FD_SET(socket, &readable);
        FD_SET(socket, &failed);
        timeval timeout{net::kDnsAnswerTimeoutSeconds, 0};
        const int ready = ::select(0, &readable, nullptr, &failed, &timeout);
        if (ready == SOCKET_ERROR && ::WSAGetLastError() == WSAEINTR) continue;
        return ready > 0 && FD_ISSET(socket, &readable) && !FD_ISSET(socket, &failed);
    }
}

}  // namespace

int ResolveViaDns(const char* server, const char* host, DnsResult* result, uint16_t port) {
    if (host == nullptr || result == nullptr) return -1;
    *result = DnsResult{};
    uint32_t address = 0;
    if (server == nullptr || !IsDottedIPv4(server, &address)) return -1;

    const std::string query = BuildDnsQuery(static_cast<uint16_t>(::GetCurrentProcessId() & 0xFFFF), host);
    if (query.empty()) return -1;
    SocketHandle socket(::socket(AF_INET, SOCK_DGRAM, kUdpProtocol));
    if (!socket) return -1;

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = ::htons(port);
    to.sin_addr.s_addr = address;
    if (::sendto(socket.Get(), query.data(), static_cast<int>(query.size()), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to) == SOCKET_ERROR) {
        return -1;
    }
    if (!WaitReadable(socket.Get())) return -1;

    std::vector<uint8_t> answer(net::kDnsPacketBytes);
    sockaddr_in from{};
    int fromLength = sizeof from;
    const int received =
        ::recvfrom(socket.Get(), reinterpret_cast<char*>(answer.data()), static_cast<int>(answer.size()), 0,
                   reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received <= 0) return -1;
    *result = ParseDnsAnswer(answer.data(), static_cast<size_t>(received), query.size());
    return result->count >= 1 ? 0 : -1;
}
