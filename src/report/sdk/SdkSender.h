// The SDK's background sender: committed records wait in a bounded queue and
// one thread of its own POSTs them, one request each, in commit order.
//
// Threads: Enqueue never blocks on the network and may be called from any
// thread; a full queue or a stopped sender drops the record. Flush and Stop
// wait at most their deadline. After Stop returns nothing more is sent: a
// request still in flight at the deadline has its socket shut down. The
// thread holds a reference to the shared state, so a sender whose thread
// outlives Stop is still safe to destroy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CSdkSender {
public:
    CSdkSender(std::string host, uint16_t port, std::string path);
    ~CSdkSender();
    CSdkSender(const CSdkSender&) = delete;
    CSdkSender& operator=(const CSdkSender&) = delete;

    // False when the record was dropped.
    bool Enqueue(std::string body);
    // True when everything queued so far was handed to the server in time.
    bool Flush(uint32_t deadlineMs);
    // Flush within the deadline, then end: later records are dropped.
    // True when the thread has ended, so the library may be unloaded.
    bool Stop(uint32_t deadlineMs);

    // Shared with the sender's thread, which may outlive the sender.
    struct State;

private:
    std::shared_ptr<State> state_;
};
