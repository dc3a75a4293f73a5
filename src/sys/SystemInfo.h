// Queries about the operating system and about other processes. Optional
// system functions are resolved at run time, so the installer starts even
// where one is missing. None of them throws: failures answer false, 0, an
// empty text or generation code 6. Any thread may call them; the cached
// generation code and resolved functions are written once, on the main thread
// at start-up before any other thread asks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// 0 XP, 1 Vista, 2 Windows 7, 3 Windows 7 with a service pack, 4 Windows 8 or
// 8.1, 5 Windows 10 or later, 6 anything else or unknown.
int32_t GetWindowsGeneration();
// The kernel's own version numbers, which no compatibility layer lowers;
// untouched when the system lacks the query.
void GetKernelVersion(DWORD& major, DWORD& minor, DWORD& build);
bool Is64BitSystem();

bool GetParentProcessId(DWORD processId, DWORD& parentId);
bool GetProcessImagePath(DWORD processId, std::wstring& path);

struct ProcessEntry {
    std::wstring fileName;
    DWORD processId = 0;
};
// The processes whose executable file name satisfies the predicate; false
// only when no process snapshot could be taken.
bool ListProcesses(const std::function<bool(const std::wstring&)>& predicate, std::vector<ProcessEntry>& entries);

// Seconds since 1970-01-01 UTC.
bool GetProcessStartTime(DWORD processId, int64_t& seconds);
// found is false when the process is not in the system's process list or the
// list cannot be had; suspended when its first thread waits for a resume.
bool IsProcessSuspended(DWORD processId, bool& suspended);

// One snapshot of the system's process information, in a buffer that grows
// until the whole list fits.
class cProcInfo {
public:
    using QueryFunction = LONG(WINAPI*)(ULONG infoClass, PVOID buffer, ULONG size, PULONG needed);

    explicit cProcInfo(QueryFunction query) noexcept : query_(query) {}
    virtual ~cProcInfo();
    cProcInfo(const cProcInfo&) = delete;
    cProcInfo& operator=(const cProcInfo&) = delete;

    // Takes the snapshot; false when the query fails.
    bool Take();
    const BYTE* Buffer() const noexcept { return buffer_; }
    ULONG Size() const noexcept { return size_; }

private:
    bool Allocate(ULONG size);

    QueryFunction query_;
    BYTE* buffer_ = nullptr;
    ULONG size_ = 1000;
};

// IsProcessSuspended over a given snapshot holder (one that has not taken its
// snapshot yet).
bool IsProcessSuspended(cProcInfo& info, DWORD processId, bool& suspended);
