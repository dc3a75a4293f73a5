// Owner of a WinHTTP session, connection or request handle.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include "sys/Win32Handle.h"

struct WinHttpHandleTraits {
    using Handle = HINTERNET;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle h) noexcept { return h != nullptr; }
    static void Close(Handle h) noexcept { ::WinHttpCloseHandle(h); }
};
using WinHttpHandle = UniqueHandle<WinHttpHandleTraits>;
