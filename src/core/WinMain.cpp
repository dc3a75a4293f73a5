// The installer's entry point. It takes no arguments; whatever is passed is
// ignored, and it always exits with code 0.
#include <windows.h>

#include "core/EntrySequence.h"
#include "core/SingleInstance.h"
#include "sys/Folders.h"

namespace {
// Created before the entry runs, deleted with its contents at process exit,
// also when a second instance leaves early.
TempCacheFolderLifetime g_tempCacheFolder;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    CSingleInstanceGuard guard;
    if (!guard.Acquire()) {
        ActivateRunningInstance();
        return 0;
    }
    CEntrySequence(instance).Run();
    return 0;
}
