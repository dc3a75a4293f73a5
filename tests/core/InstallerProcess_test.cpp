// The installer as a whole process: one instance per machine, and a temporary
// cache folder that exists exactly while a process runs.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/PkgMessages.h"
#include "core/SingleInstance.h"
#include "sys/Folders.h"
#include "tests/support/InstallerProcess.h"

namespace {

constexpr DWORD kInstallerTimeoutMs = 60000;

// A stand-in for the running installer's main window: a top-level window of
// the fixed class that counts the activation requests it receives.
class FixtureMainWindow {
public:
    FixtureMainWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &FixtureMainWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClassName;
        ::RegisterClassW(&wc);
        window_.Reset(::CreateWindowExW(0, kMainWindowClassName, L"fixture", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        wc.hInstance, nullptr));
        activations_ = 0;
    }
    ~FixtureMainWindow() {
        window_.Reset();
        ::UnregisterClassW(kMainWindowClassName, ::GetModuleHandleW(nullptr));
    }
    bool IsValid() const { return window_.IsValid(); }
    int PumpAndCountActivations() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        return activations_;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PKG_ACTIVATE && wParam == 0 && lParam == 0) ++activations_;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    static inline int activations_ = 0;
    WindowHandle window_;
};

// Holds the single-instance mutex as a running installer would.
class RunningInstance {
public:
    RunningInstance() : mutex_(::CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName)) {}
    bool IsValid() const { return mutex_.IsValid(); }

private:
    KernelHandle mutex_;
};

// Watches a folder for sub-folders named DraymontPkg_<seconds> coming and going.
class TempFolderWatch {
public:
    explicit TempFolderWatch(const std::wstring& root)
        : folder_(::CreateFileW(root.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        Arm();
    }
    bool IsValid() const { return folder_.IsValid(); }

    // Collects the notifications that arrive within waitMs.
    void Collect(DWORD waitMs) {
        const DWORD until = ::GetTickCount() + waitMs;
        for (;;) {
            const DWORD now = ::GetTickCount();
            if (static_cast<LONG>(until - now) <= 0) return;
            if (::WaitForSingleObject(event_.Get(), until - now) != WAIT_OBJECT_0) return;
            DWORD bytes = 0;
            if (!::GetOverlappedResult(folder_.Get(), &overlapped_, &bytes, FALSE)) return;
            Parse(bytes);
            Arm();
        }
    }
    std::set<std::wstring> created, removed;

private:
    void Arm() {
        ::ResetEvent(event_.Get());
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_.Get();
        ::ReadDirectoryChangesW(folder_.Get(), buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_DIR_NAME, nullptr,
                                &overlapped_, nullptr);
    }
    void Parse(DWORD bytes) {
        for (DWORD offset = 0; bytes != 0;) {
            const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
            const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name.rfind(kTempCachePrefix, 0) == 0) {
                if (info->Action == FILE_ACTION_ADDED) created.insert(name);
                if (info->Action == FILE_ACTION_REMOVED) removed.insert(name);
            }
            if (info->NextEntryOffset == 0) break;
            offset += info->NextEntryOffset;
        }
    }

    FileHandle folder_;
    KernelHandle event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) BYTE buffer_[16384];
};

void ExpectTempFolderCameAndWent(const TempFolderWatch& watch) {
    ASSERT_EQ(watch.created.size(), 1u) << "the run should create exactly one temporary cache folder";
    EXPECT_EQ(watch.removed, watch.created) << "and delete it when it exits";
    EXPECT_FALSE(DirectoryExists(GetBestVolume() + *watch.created.begin()));
}

TEST(InstallerProcess, RunsThroughStartUpAndShutdown) {
    TempFolderWatch watch(GetBestVolume());
    ASSERT_TRUE(watch.IsValid());
    const ProcessResult result = RunProgram(InstallerPath(), kInstallerTimeoutMs);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    watch.Collect(1000);
    ExpectTempFolderCameAndWent(watch);
    EXPECT_TRUE(DirectoryExists(GetProductDataFolder()));
}

TEST(InstallerProcess, SecondInstanceActivatesTheFirstAndLeaves) {
    FixtureMainWindow window;
    ASSERT_TRUE(window.IsValid());
    RunningInstance first;
    ASSERT_TRUE(first.IsValid());
    TempFolderWatch watch(GetBestVolume());

    const ProcessResult second = RunProgram(InstallerPath(), kInstallerTimeoutMs);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(window.PumpAndCountActivations(), 1);
    watch.Collect(1000);
    ExpectTempFolderCameAndWent(watch);
}

TEST(InstallerProcess, SecondInstanceWithoutAWindowJustLeaves) {
    RunningInstance first;
    ASSERT_TRUE(first.IsValid());
    const ProcessResult second = RunProgram(InstallerPath(), kInstallerTimeoutMs);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
}

}  // namespace
