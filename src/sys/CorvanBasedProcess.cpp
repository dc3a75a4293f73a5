#include "sys/CorvanBasedProcess.h"

#include <utility>

CCorvanBasedProcess::CCorvanBasedProcess(std::wstring commandLine) : commandLine_(std::move(commandLine)) {}

CCorvanBasedProcess::~CCorvanBasedProcess() {
    if (process_ && waitOnDestroy_) ::WaitForSingleObject(process_.Get(), INFINITE);
}

bool CCorvanBasedProcess::Start() {
    if (process_) return true;
    STARTUPINFOW startup{};
    ::GetStartupInfoW(&startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    // CreateProcessW may write into the command line, so it gets a private copy.
    std::wstring commandLine = commandLine_;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    return true;
}
