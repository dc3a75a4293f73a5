#include "sys/SystemInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <winternl.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "sys/FileUtil.h"
#include "sys/Win32Handle.h"

namespace {

constexpr wchar_t kProbeName[] = L"sysinfo_probe.exe";
constexpr wchar_t kManifestedProbeName[] = L"sysinfo_probe_manifested.exe";
constexpr DWORD kNoSuchProcess = 0x7FFFFFFC;
constexpr DWORD kProbeTimeoutMs = 30000;

std::wstring ProbePath(const wchar_t* name = kProbeName) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return GetDirectoryPart(self) + name;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct Child {
    KernelHandle process;
    KernelHandle thread;
    DWORD id = 0;
    ~Child() {
        if (process) ::TerminateProcess(process.Get(), 0);
    }
};

bool StartProbe(const wchar_t* name, const std::wstring& arguments, DWORD flags, Child& child) {
    std::wstring commandLine = L"\"" + ProbePath(name) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                          &info)) {
        return false;
    }
    child.process.Reset(info.hProcess);
    child.thread.Reset(info.hThread);
    child.id = info.dwProcessId;
    return true;
}

TEST(SystemInfo, FactsOfAChildProcess) {
    const int64_t before = std::time(nullptr);
    Child child;
    ASSERT_TRUE(StartProbe(kProbeName, L"wait", CREATE_SUSPENDED, child));

    DWORD parent = 0;
    ASSERT_TRUE(GetParentProcessId(child.id, parent));
    EXPECT_EQ(parent, ::GetCurrentProcessId());

    std::wstring image;
    ASSERT_TRUE(GetProcessImagePath(child.id, image));
    EXPECT_EQ(_wcsicmp(image.c_str(), ProbePath().c_str()), 0) << Narrow(image);

    std::vector<ProcessEntry> probes;
    ASSERT_TRUE(
        ListProcesses([](const std::wstring& name) { return _wcsicmp(name.c_str(), kProbeName) == 0; }, probes));
    bool listed = false;
    for (const ProcessEntry& entry : probes)
        listed = listed || entry.processId == child.id;
    EXPECT_TRUE(listed);

    int64_t started = 0;
    ASSERT_TRUE(GetProcessStartTime(child.id, started));
    EXPECT_GE(started, before - 1);
    EXPECT_LE(started, std::time(nullptr) + 1);

    // Wine lists the process but reports no thread states, so whether it is
    // suspended is checked on crafted snapshots below.
    bool suspended = false;
    EXPECT_TRUE(IsProcessSuspended(child.id, suspended));
}

// A process-information query that answers from a crafted snapshot, asking for
// a bigger buffer as the system does.
std::vector<BYTE> fakeSnapshot;
int fakeCalls = 0;

LONG WINAPI FakeQuery(ULONG infoClass, PVOID buffer, ULONG size, PULONG needed) {
    ++fakeCalls;
    if (infoClass != 5) return static_cast<LONG>(0xC0000003);
    *needed = static_cast<ULONG>(fakeSnapshot.size());
    if (size < fakeSnapshot.size()) return static_cast<LONG>(0xC0000004);
    std::copy(fakeSnapshot.begin(), fakeSnapshot.end(), static_cast<BYTE*>(buffer));
    return 0;
}

LONG WINAPI AlwaysTooSmall(ULONG, PVOID, ULONG size, PULONG needed) {
    ++fakeCalls;
    *needed = size + 1;
    return static_cast<LONG>(0xC0000004);
}

struct FakeProcess {
    DWORD id;
    std::vector<std::pair<ULONG, ULONG>> threads;  // state, wait reason
};

// Records chained as the system chains them; the last one's offset points
// past the buffer, which the walk must not follow.
std::vector<BYTE> Snapshot(const std::vector<FakeProcess>& processes) {
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < processes.size(); ++i) {
        const FakeProcess& p = processes[i];
        const size_t size = sizeof(SYSTEM_PROCESS_INFORMATION) + p.threads.size() * sizeof(SYSTEM_THREAD_INFORMATION);
        SYSTEM_PROCESS_INFORMATION record{};
        record.NextEntryOffset = i + 1 < processes.size() ? static_cast<ULONG>(size) : 0x7FFFFFF0;
        record.NumberOfThreads = static_cast<ULONG>(p.threads.size());
        record.UniqueProcessId = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(p.id));
        const BYTE* raw = reinterpret_cast<const BYTE*>(&record);
        bytes.insert(bytes.end(), raw, raw + sizeof record);
        for (const auto& [state, reason] : p.threads) {
            SYSTEM_THREAD_INFORMATION thread{};
            thread.ThreadState = state;
            thread.WaitReason = reason;
            raw = reinterpret_cast<const BYTE*>(&thread);
            bytes.insert(bytes.end(), raw, raw + sizeof thread);
        }
    }
    return bytes;
}

TEST(SystemInfo, SuspendedMeansFirstThreadWaitsForResume) {
    fakeSnapshot = Snapshot({
        {8, {{5, 5}}},
        {12, {{5, 6}, {5, 5}}},
        {16, {}},
        {20, {{2, 0}}},
    });
    ASSERT_GT(fakeSnapshot.size(), 1000u);  // more than the first buffer holds
    struct Case {
        DWORD id;
        bool found;
        bool suspended;
    };
    const Case cases[] = {{8, true, true}, {12, true, false}, {16, true, false}, {20, true, false}, {24, false, false}};
    for (const Case& c : cases) {
        cProcInfo info(FakeQuery);
        fakeCalls = 0;
        bool suspended = false;
        EXPECT_EQ(IsProcessSuspended(info, c.id, suspended), c.found) << c.id;
        EXPECT_EQ(suspended, c.suspended) << c.id;
        EXPECT_EQ(fakeCalls, 2);
        EXPECT_EQ(info.Size(), fakeSnapshot.size() + 4000);
    }
}

TEST(SystemInfo, SnapshotThatNeverFitsGivesUp) {
    cProcInfo info(AlwaysTooSmall);
    fakeCalls = 0;
    bool suspended = false;
    EXPECT_FALSE(IsProcessSuspended(info, 8, suspended));
    EXPECT_GT(fakeCalls, 1);
    cProcInfo missing(nullptr);
    EXPECT_FALSE(missing.Take());
}

TEST(SystemInfo, UnknownProcessAnswersFalse) {
    DWORD parent = 0;
    std::wstring image;
    int64_t started = 0;
    bool suspended = false;
    EXPECT_FALSE(GetParentProcessId(kNoSuchProcess, parent));
    EXPECT_FALSE(GetProcessImagePath(kNoSuchProcess, image));
    EXPECT_FALSE(GetProcessStartTime(kNoSuchProcess, started));
    EXPECT_FALSE(IsProcessSuspended(kNoSuchProcess, suspended));
    std::vector<ProcessEntry> none;
    EXPECT_TRUE(ListProcesses([](const std::wstring&) { return false; }, none));
    EXPECT_TRUE(none.empty());
}

TEST(SystemInfo, OwnProcessIsRunningOnA64BitSystem) {
    bool suspended = true;
    ASSERT_TRUE(IsProcessSuspended(::GetCurrentProcessId(), suspended));
    EXPECT_FALSE(suspended);
    EXPECT_TRUE(Is64BitSystem());
    DWORD major = 0, minor = 0, build = 0;
    GetKernelVersion(major, minor, build);
    EXPECT_GE(major, 5u);
}

// Wine reports the Windows version configured per executable, so the probe
// sees each generation through the real version queries.
TEST(SystemInfo, GenerationFollowsTheReportedVersion) {
    struct Case {
        const wchar_t* probe;
        const wchar_t* version;
        DWORD expected;
    };
    // The second probe carries the installer's manifest, which declares
    // Windows 10 support and so is told 10.0 instead of 6.2.
    const Case cases[] = {
        {kProbeName, L"vista", 1},           {kProbeName, L"win7", 3},           {kProbeName, L"win8", 4},
        {kProbeName, L"win81", 4},           {kProbeName, L"win10", 5},          {kProbeName, L"winxp64", 6},
        {kManifestedProbeName, L"win10", 5}, {kManifestedProbeName, L"win7", 3},
    };
    for (const auto& [probe, version, expected] : cases) {
        const std::wstring appKey = std::wstring(L"Software\\Wine\\AppDefaults\\") + probe;
        const DWORD bytes = static_cast<DWORD>((std::wcslen(version) + 1) * sizeof(wchar_t));
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, appKey.c_str(), L"Version", REG_SZ, version, bytes),
                  ERROR_SUCCESS);
        Child child;
        const bool started = StartProbe(probe, L"", 0, child);
        const bool ended = started && ::WaitForSingleObject(child.process.Get(), kProbeTimeoutMs) == WAIT_OBJECT_0;
        DWORD code = 99;
        if (ended) ::GetExitCodeProcess(child.process.Get(), &code);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, appKey.c_str());
        ASSERT_TRUE(ended) << Narrow(probe);
        EXPECT_EQ(code, expected) << Narrow(probe) << " " << Narrow(version);
    }
}

}  // namespace
