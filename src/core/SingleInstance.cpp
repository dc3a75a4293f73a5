#include "core/SingleInstance.h"

#include <cwchar>

namespace {

constexpr int kClassNameChars = 260;  // GetClassNameW reads at most 259

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    wchar_t name[kClassNameChars] = {};
    ::GetClassNameW(window, name, kClassNameChars);
    if (std::wcscmp(name, kMainWindowClassName) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

bool CSingleInstanceGuard::Acquire() {
    mutex_.Reset(::CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName));
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return true;
    mutex_.Reset();
    return false;
}

bool ActivateRunningInstance() {
    HWND window = nullptr;
    ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&window));
    if (window == nullptr) return false;
    ::PostMessageW(window, WM_PKG_ACTIVATE, 0, 0);
    return true;
}
