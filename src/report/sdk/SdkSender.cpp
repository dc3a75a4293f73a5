#include "report/sdk/SdkSender.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "report/sdk/SdkLimits.h"
#include "sys/Win32Handle.h"

struct CSdkSender::State {
    std::string host;
    uint16_t port = 0;
    std::string path;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> queue;
    bool posting = false;
    bool stopping = false;
    bool aborted = false;
    SOCKET inFlight = INVALID_SOCKET;
    KernelHandle thread;
};

namespace {

using State = CSdkSender::State;

bool ResolveIpv4(const std::string& host, sockaddr_in& address) {
    address.sin_family = AF_INET;
    const unsigned long dotted = ::inet_addr(host.c_str());
    if (dotted != INADDR_NONE) {
        address.sin_addr.s_addr = dotted;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
    address.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

// A connect that gives up after kSdkConnectTimeoutMs, so that a host that
// swallows packets costs the sender thread a bounded wait.
bool ConnectWithTimeout(SOCKET socket, const sockaddr_in& address) {
    u_long nonBlocking = 1;
    ::ioctlsocket(socket, FIONBIO, &nonBlocking);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        ::WSAGetLastError() != WSAEWOULDBLOCK)
        return false;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval timeout{static_cast<long>(kSdkConnectTimeoutMs / 1000),
                    static_cast<long>(kSdkConnectTimeoutMs % 1000) * 1000};
    if (::select(0, nullptr, &writable, &failed, &timeout) <= 0 || FD_ISSET(socket, &failed)) return false;
    u_long blocking = 0;
    ::ioctlsocket(socket, FIONBIO, &blocking);
    const DWORD ioTimeout = kSdkIoTimeoutMs;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ioTimeout), sizeof ioTimeout);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ioTimeout), sizeof ioTimeout);
    return true;
}

bool SendAll(SOCKET socket, const std::string& bytes) {
    for (size_t sent = 0; sent < bytes.size();) {
        const int chunk = ::send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (chunk <= 0) return false;
        sent += static_cast<size_t>(chunk);
    }
    return true;
}

// Reads the status line; the rest of the reply is drained up to a bound.
bool ReadSuccessStatus(SOCKET socket) {
    std::string reply;
    char buffer[1024];
    while (reply.size() < kSdkMaxReplyBytes) {
        const int got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        reply.append(buffer, static_cast<size_t>(got));
    }
    // "HTTP/1.1 200"
    return reply.size() >= 12 && reply.compare(0, 5, "HTTP/") == 0 && reply[9] == '2';
}

std::string BuildRequest(const State& state, const std::string& body) {
    std::string request = "POST " + state.path + " HTTP/1.1\r\n";
    request += "Host: " + state.host + ":" + std::to_string(state.port) + "\r\n";
    request += "User-Agent: Qpx/1.0\r\n";
    request += "Content-Type: application/json; charset=utf-8\r\n";
    request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    request += "Connection: close\r\n\r\n";
    request += body;
    return request;
}

bool Post(State& state, const std::string& body) {
    sockaddr_in address{};
    if (!ResolveIpv4(state.host, address)) return false;
    address.sin_port = ::htons(state.port);
    SocketHandle socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket) return false;
    {
        std::lock_guard<std::mutex> guard(state.mutex);
        if (state.aborted) return false;
        state.inFlight = socket.Get();
    }
    const bool posted = ConnectWithTimeout(socket.Get(), address) && SendAll(socket.Get(), BuildRequest(state, body)) &&
                        ReadSuccessStatus(socket.Get());
    std::lock_guard<std::mutex> guard(state.mutex);
    state.inFlight = INVALID_SOCKET;
    return posted;
}

// Winsock stays initialised for the life of the process, like the
// installer's own: cleaning up while the process exits gains nothing.
void RunSender(State* state) {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    std::unique_lock<std::mutex> lock(state->mutex);
    for (;;) {
        state->changed.wait(lock, [&] { return state->aborted || !state->queue.empty() || state->stopping; });
        if (state->aborted || state->queue.empty()) break;
        std::string body = std::move(state->queue.front());
        state->queue.pop_front();
        state->posting = true;
        lock.unlock();
        // A record the server did not take is lost: nothing is retried.
        Post(*state, body);
        lock.lock();
        state->posting = false;
        state->changed.notify_all();
    }
}

DWORD WINAPI SenderThread(void* parameter) {
    std::unique_ptr<std::shared_ptr<State>> state(static_cast<std::shared_ptr<State>*>(parameter));
    RunSender(state->get());
    return 0;
}

}  // namespace

CSdkSender::CSdkSender(std::string host, uint16_t port, std::string path) : state_(std::make_shared<State>()) {
    state_->host = std::move(host);
    state_->port = port;
    state_->path = std::move(path);
    auto* shared = new std::shared_ptr<State>(state_);
    state_->thread.Reset(::CreateThread(nullptr, 0, &SenderThread, shared, 0, nullptr));
    if (!state_->thread) {
        delete shared;
        state_->aborted = true;
    }
}

CSdkSender::~CSdkSender() {
    std::lock_guard<std::mutex> guard(state_->mutex);
    state_->aborted = true;
    state_->changed.notify_all();
}

bool CSdkSender::Enqueue(std::string body) {
    std::lock_guard<std::mutex> guard(state_->mutex);
    if (state_->stopping || state_->aborted || state_->queue.size() >= kSdkMaxQueuedRecords) return false;
    state_->queue.push_back(std::move(body));
    state_->changed.notify_all();
    return true;
}

bool CSdkSender::Flush(uint32_t deadlineMs) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->changed.wait_for(lock, std::chrono::milliseconds(deadlineMs),
                                    [&] { return state_->aborted || (state_->queue.empty() && !state_->posting); });
}

bool CSdkSender::Stop(uint32_t deadlineMs) {
    {
        std::lock_guard<std::mutex> guard(state_->mutex);
        state_->stopping = true;
        state_->changed.notify_all();
    }
    Flush(deadlineMs);
    {
        std::lock_guard<std::mutex> guard(state_->mutex);
        state_->aborted = true;
        state_->queue.clear();
        if (state_->inFlight != INVALID_SOCKET) ::shutdown(state_->inFlight, SD_BOTH);
        state_->changed.notify_all();
    }
    // The thread must be gone, not merely done, before the process may exit:
    // one cut off inside the C runtime would leave its locks held.
    return !state_->thread || ::WaitForSingleObject(state_->thread.Get(), kSdkStopGraceMs) == WAIT_OBJECT_0;
}
