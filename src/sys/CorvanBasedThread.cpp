#include "sys/CorvanBasedThread.h"

CCorvanBasedThread::CCorvanBasedThread()
    : handle_(::CreateThread(nullptr, 0, &CCorvanBasedThread::Entry, this, CREATE_SUSPENDED, nullptr)) {}

CCorvanBasedThread::~CCorvanBasedThread() {
    if (!handle_) return;
    WaitForExit();
    handle_.Reset();
}

bool CCorvanBasedThread::IsRunning() const noexcept {
    return handle_ && ::WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

void CCorvanBasedThread::StartThread() noexcept {
    if (!handle_) return;
    startPending_ = false;
    ::ResumeThread(handle_.Get());
}

void CCorvanBasedThread::ReleaseIfPending() noexcept {
    // Still pending: the entry sees the flag and ends without calling Run().
    if (handle_ && startPending_) ::ResumeThread(handle_.Get());
}

void CCorvanBasedThread::WaitForExit() noexcept {
    ReleaseIfPending();
    if (handle_) ::WaitForSingleObject(handle_.Get(), INFINITE);
}

void CCorvanBasedThread::StopWithGrace(uint32_t graceMs) noexcept {
    if (!handle_) return;
    ReleaseIfPending();
    if (::WaitForSingleObject(handle_.Get(), graceMs) == WAIT_TIMEOUT) ::TerminateThread(handle_.Get(), 0);
}

DWORD WINAPI CCorvanBasedThread::Entry(void* self) {
    auto* thread = static_cast<CCorvanBasedThread*>(self);
    if (thread->startPending_) return static_cast<DWORD>(-1);
    return thread->Run();
}
