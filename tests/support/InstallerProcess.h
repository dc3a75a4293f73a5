// Runs the installer built beside the tests (build/win/TarvelSetup.exe) as a
// child process and waits for it with a deadline.
#pragma once

#include <windows.h>

#include <string>

#include "sys/FileUtil.h"
#include "sys/Win32Handle.h"

// The build tree's root as seen from a test executable in build/win/tests/<sub>/.
inline std::wstring BuildTreeFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return GetDirectoryPart(GetDirectoryPart(self) + L"..\\..\\");
}

inline std::wstring InstallerPath() { return BuildTreeFolder() + L"TarvelSetup.exe"; }

struct ProcessResult {
    bool finished = false;
    DWORD exitCode = 0;
};

// Starts the program and waits up to timeoutMs; a program still running then
// is terminated and reported as not finished.
inline ProcessResult RunProgram(const std::wstring& path, DWORD timeoutMs) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ProcessResult result;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return result;
    }
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        return result;
    }
    result.finished = true;
    ::GetExitCodeProcess(process.Get(), &result.exitCode);
    return result;
}
