// Base of every worker thread.
//
// Threading rules: the thread is created suspended by this base and resumed by
// the most-derived constructor, which calls StartThread() as its last step, so
// Run() never sees a half-built object. A thread that was never started ends
// with exit code -1 without calling Run(). Each subclass owns its stop request
// (a flag or state its Run() polls) and, in its destructor, sets it and waits
// with WaitForExit() or StopWithGrace() before this base is destroyed.
#pragma once

#include <atomic>
#include <cstdint>

#include "sys/Win32Handle.h"

class CCorvanBasedThread {
public:
    virtual ~CCorvanBasedThread();
    CCorvanBasedThread(const CCorvanBasedThread&) = delete;
    CCorvanBasedThread& operator=(const CCorvanBasedThread&) = delete;

    // The thread's body; its result becomes the thread's exit code.
    virtual uint32_t Run() = 0;

    HANDLE GetThreadHandle() const noexcept { return handle_.Get(); }
    bool IsRunning() const noexcept;

protected:
    CCorvanBasedThread();

    // Last step of the most-derived constructor.
    void StartThread() noexcept;

    // For destructors: lets a never-started thread end (it skips Run()).
    void ReleaseIfPending() noexcept;
    // Waits without time-out; a never-started thread is released first.
    void WaitForExit() noexcept;
    // Waits up to graceMs, then terminates a thread that is still running.
    void StopWithGrace(uint32_t graceMs) noexcept;

private:
    static DWORD WINAPI Entry(void* self);

    std::atomic<bool> startPending_{true};
    KernelHandle handle_;
};
