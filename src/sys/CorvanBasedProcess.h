// A child process started hidden with a whole command line. The owner polls
// the process handle and reads the exit code; by default the destructor waits
// for the process to end.
#pragma once

#include <string>

#include "sys/Win32Handle.h"

class CCorvanBasedProcess {
public:
    explicit CCorvanBasedProcess(std::wstring commandLine);
    virtual ~CCorvanBasedProcess();
    CCorvanBasedProcess(const CCorvanBasedProcess&) = delete;
    CCorvanBasedProcess& operator=(const CCorvanBasedProcess&) = delete;

    bool Start();
    bool IsStarted() const noexcept { return process_.IsValid(); }
    HANDLE GetProcessHandle() const noexcept { return process_.Get(); }
    void SetWaitOnDestroy(bool wait) noexcept { waitOnDestroy_ = wait; }

private:
    bool waitOnDestroy_ = true;
    KernelHandle process_;
    KernelHandle thread_;
    std::wstring commandLine_;
};
