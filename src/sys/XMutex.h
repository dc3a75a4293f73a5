// The installer's only lock: an unnamed Win32 mutex, always waited on without
// a time-out. A mutex whose creation failed locks nothing and reports nothing.
#pragma once

#include "sys/Win32Handle.h"

class CXMutex {
public:
    CXMutex();
    virtual ~CXMutex();
    CXMutex(const CXMutex&) = delete;
    CXMutex& operator=(const CXMutex&) = delete;

    void Lock();
    void Unlock();

private:
    KernelHandle handle_;
};

// Holds a CXMutex for one scope, so that an exception leaving the section
// still unlocks it.
class CXMutexLock {
public:
    explicit CXMutexLock(CXMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
    ~CXMutexLock() { mutex_.Unlock(); }
    CXMutexLock(const CXMutexLock&) = delete;
    CXMutexLock& operator=(const CXMutexLock&) = delete;

private:
    CXMutex& mutex_;
};
