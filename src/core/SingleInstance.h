// Keeps a second copy of the installer from running: the first instance owns
// a named mutex for its whole life; a second one finds the first one's main
// window by its class and asks it to come to the front.
#pragma once

#include "core/PkgMessages.h"
#include "sys/Win32Handle.h"

inline constexpr wchar_t kSingleInstanceMutexName[] = L"CorvanPkg-Event-81C048DD-73B6-41CB-82F0-88297C1E09B8";
inline constexpr wchar_t kMainWindowClassName[] = L"CorvanPkg-Window-81C048DD-73B6-41CB-82F0-88297C1E09B8";

class CSingleInstanceGuard {
public:
    // Creates the mutex with initial ownership; false when another instance
    // already holds it (the handle is then closed at once).
    bool Acquire();

private:
    // Ownership ends with the handle; it is never released first.
    KernelHandle mutex_;
};

// Posts WM_PKG_ACTIVATE to the first top-level window of the main window
// class; false when there is none.
bool ActivateRunningInstance();
