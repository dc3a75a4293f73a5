#include "sys/XMutex.h"

CXMutex::CXMutex() : handle_(::CreateMutexW(nullptr, FALSE, nullptr)) {}

CXMutex::~CXMutex() = default;

void CXMutex::Lock() {
    if (handle_) ::WaitForSingleObject(handle_.Get(), INFINITE);
}

void CXMutex::Unlock() {
    if (handle_) ::ReleaseMutex(handle_.Get());
}
