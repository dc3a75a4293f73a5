#include "sys/SystemInfo.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cstddef>

#include "sys/FileStream.h"
#include "sys/Win32Handle.h"

namespace {

constexpr DWORD kProcessQueryAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr DWORD kImagePathChars = 260;
constexpr ULONG kSnapshotSlack = 4000;
// The process list can grow between two queries; a system that keeps
// answering "too small" must not keep the caller forever.
constexpr int kSnapshotTries = 16;
constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kThreadStateWaiting = 5;
constexpr ULONG kWaitReasonSuspended = 5;

// The 64-bit layout that the process information class documents.
static_assert(sizeof(SYSTEM_PROCESS_INFORMATION) == 0x100);
static_assert(sizeof(SYSTEM_THREAD_INFORMATION) == 0x50);

template <typename Function>
Function Resolve(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

int32_t GenerationFromVersion(const OSVERSIONINFOEXW& version) {
    const DWORD major = version.dwMajorVersion, minor = version.dwMinorVersion;
    if (major == 5 && minor == 1) return 0;
    if (major == 6 && minor == 0) return 1;
    if (major == 6 && minor == 1) return version.wServicePackMajor != 0 ? 3 : 2;
    // A program that declares Windows 10 support is told 10.0 directly.
    if (major == 10) return 5;
    if (major != 6) return 6;
    DWORD kernelMajor = 0, kernelMinor = 0, kernelBuild = 0;
    GetKernelVersion(kernelMajor, kernelMinor, kernelBuild);
    return kernelMajor == 10 ? 5 : 4;
}

// Walks the whole snapshot; the visitor answers true to stop.
bool VisitProcessSnapshot(const std::function<bool(const PROCESSENTRY32W&)>& visit) {
    KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (visit(entry)) break;
    }
    return true;
}

// The record of processId in a snapshot, or null; every offset is checked
// against the buffer before it is followed.
const SYSTEM_PROCESS_INFORMATION* FindProcessRecord(const cProcInfo& info, DWORD processId) {
    const BYTE* const base = info.Buffer();
    const size_t size = info.Size();
    size_t offset = 0;
    while (offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= size) {
        const auto* record = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(base + offset);
        if (reinterpret_cast<ULONG_PTR>(record->UniqueProcessId) == processId) return record;
        if (record->NextEntryOffset == 0) return nullptr;
        offset += record->NextEntryOffset;
    }
    return nullptr;
}

}  // namespace

cProcInfo::~cProcInfo() {
    if (buffer_) ::LocalFree(buffer_);
}

bool cProcInfo::Allocate(ULONG size) {
    if (buffer_) ::LocalFree(buffer_);
    size_ = size;
    buffer_ = static_cast<BYTE*>(::LocalAlloc(LMEM_FIXED, size));
    return buffer_ != nullptr;
}

bool cProcInfo::Take() {
    if (query_ == nullptr || !Allocate(size_)) return false;
    for (int attempt = 0; attempt < kSnapshotTries; ++attempt) {
        ULONG needed = 0;
        const LONG status = query_(kSystemProcessInformation, buffer_, size_, &needed);
        if (status >= 0) return true;
        if (status != kStatusInfoLengthMismatch || !Allocate(needed + kSnapshotSlack)) return false;
    }
    return false;
}

int32_t GetWindowsGeneration() {
    static int32_t cached = -1;
    if (cached != -1) return cached;
    cached = 6;
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) return cached;
    cached = GenerationFromVersion(version);
    return cached;
}

void GetKernelVersion(DWORD& major, DWORD& minor, DWORD& build) {
    using VersionNumbers = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    static const VersionNumbers query =
        Resolve<VersionNumbers>(::GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers");
    if (query) query(&major, &minor, &build);
}

bool Is64BitSystem() {
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32");
    using NativeInfo = void(WINAPI*)(SYSTEM_INFO*);
    if (const auto native = Resolve<NativeInfo>(kernel32, "GetNativeSystemInfo")) {
        SYSTEM_INFO info{};
        native(&info);
        return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
               info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
    }
    using Wow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    if (const auto isWow64 = Resolve<Wow64>(kernel32, "IsWow64Process")) {
        BOOL wow64 = FALSE;
        return isWow64(::GetCurrentProcess(), &wow64) && wow64;
    }
    return false;
}

bool GetParentProcessId(DWORD processId, DWORD& parentId) {
    bool found = false;
    VisitProcessSnapshot([&](const PROCESSENTRY32W& entry) {
        if (entry.th32ProcessID != processId) return false;
        parentId = entry.th32ParentProcessID;
        found = true;
        return true;
    });
    return found;
}

bool GetProcessImagePath(DWORD processId, std::wstring& path) {
    KernelHandle process(::OpenProcess(kProcessQueryAccess, FALSE, processId));
    if (!process) return false;
    HMODULE kernel32 = ::GetModuleHandleW(L"kernel32");
    using QueryFullName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    using ModuleFileNameEx = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
    const auto queryFullName = Resolve<QueryFullName>(kernel32, "QueryFullProcessImageNameW");
    auto moduleFileNameEx = Resolve<ModuleFileNameEx>(kernel32, "GetModuleFileNameExW");
    ModuleHandle psapi;
    if (moduleFileNameEx == nullptr) {
        psapi.Reset(::LoadLibraryW(L"Psapi"));
        moduleFileNameEx = Resolve<ModuleFileNameEx>(psapi.Get(), "GetModuleFileNameExW");
    }

    wchar_t buffer[kImagePathChars] = {};
    bool succeeded = true;
    if (queryFullName) {
        DWORD size = kImagePathChars;
        succeeded = queryFullName(process.Get(), 0, buffer, &size) != FALSE;
    } else if (moduleFileNameEx) {
        succeeded = moduleFileNameEx(process.Get(), nullptr, buffer, kImagePathChars) != 0;
    }
    if (!succeeded) return false;
    buffer[kImagePathChars - 1] = L'\0';
    path = buffer;
    return true;
}

bool ListProcesses(const std::function<bool(const std::wstring&)>& predicate, std::vector<ProcessEntry>& entries) {
    return VisitProcessSnapshot([&](const PROCESSENTRY32W& entry) {
        if (predicate(entry.szExeFile)) entries.push_back({entry.szExeFile, entry.th32ProcessID});
        return false;
    });
}

bool GetProcessStartTime(DWORD processId, int64_t& seconds) {
    KernelHandle process(::OpenProcess(kProcessQueryAccess, FALSE, processId));
    if (!process) return false;
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!::GetProcessTimes(process.Get(), &creation, &exit, &kernel, &user)) return false;
    seconds = FileTimeToUnixSeconds(creation);
    return true;
}

bool IsProcessSuspended(DWORD processId, bool& suspended) {
    static const auto query =
        Resolve<cProcInfo::QueryFunction>(::GetModuleHandleW(L"NtDll.dll"), "NtQuerySystemInformation");
    cProcInfo info(query);
    return IsProcessSuspended(info, processId, suspended);
}

bool IsProcessSuspended(cProcInfo& info, DWORD processId, bool& suspended) {
    if (!info.Take()) return false;
    const SYSTEM_PROCESS_INFORMATION* record = FindProcessRecord(info, processId);
    if (record == nullptr) return false;
    suspended = false;
    const size_t recordOffset = reinterpret_cast<const BYTE*>(record) - info.Buffer();
    if (record->NumberOfThreads == 0 ||
        recordOffset + sizeof(SYSTEM_PROCESS_INFORMATION) + sizeof(SYSTEM_THREAD_INFORMATION) > info.Size()) {
        return true;
    }
    const auto* firstThread = reinterpret_cast<const SYSTEM_THREAD_INFORMATION*>(record + 1);
    suspended = firstThread->ThreadState == kThreadStateWaiting && firstThread->WaitReason == kWaitReasonSuspended;
    return true;
}
