// A child for the system-information tests: exits with the Windows generation
// code it sees, or with "wait" first sleeps until it is ended.
#include <windows.h>

#include <cwchar>

#include "sys/SystemInfo.h"

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wcscmp(argv[1], L"wait") == 0) ::Sleep(60000);
    return GetWindowsGeneration();
}
