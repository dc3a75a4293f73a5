#include <windows.h>

#include <dbghelp.h>

#include <string>

#include "report/sdk/QpxSdk.h"
#include "sys/Win32Handle.h"

namespace {

constexpr DWORD kModulePathChars = 1024;

std::wstring OwnModulePath() {
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&OwnModulePath), &self);
    wchar_t path[kModulePathChars] = {};
    const DWORD length = ::GetModuleFileNameW(self, path, kModulePathChars - 1);
    return std::wstring(path, length);
}

std::wstring ParentFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool WriteMiniDump(const std::wstring& path, EXCEPTION_POINTERS* exception) {
    FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    MINIDUMP_EXCEPTION_INFORMATION info{::GetCurrentThreadId(), exception, FALSE};
    return ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.Get(), MiniDumpNormal,
                               exception != nullptr ? &info : nullptr, nullptr, nullptr) != FALSE;
}

}  // namespace

std::wstring CrashDumpFolder() {
    const std::wstring sdkFolder = ParentFolder(OwnModulePath());
    if (sdkFolder.empty()) return {};
    return ParentFolder(sdkFolder.substr(0, sdkFolder.size() - 1));
}

LONG WINAPI QpxCrashFilter(EXCEPTION_POINTERS* exception) {
    const std::wstring path = CrashDumpFolder() + L"QpxCrash_" + std::to_wstring(::GetCurrentProcessId()) + L".dmp";
    // The installer hears of the crash even when no dump could be written.
    const bool written = WriteMiniDump(path, exception);
    CQpxSdk::Instance().ReportCrash(written ? path : std::wstring());
    return EXCEPTION_EXECUTE_HANDLER;
}
