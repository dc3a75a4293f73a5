// An executable that carries the skin and the SDK archive like the installer
// and builds the skin manager the way start-up does, so that its events can
// be checked at the local collector. Started by skin_e2e.py.
//   skin_probe start       one manager in a fresh cache folder
//   skin_probe fourteen    a manager, one picture removed, a second manager
//                          that must still serve the other fourteen
// Exit code 0 when the manager behaved, 1 otherwise.
#include <windows.h>

#include <string>

#include "report/LoggerServer.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "ui/ResourceManager.h"

namespace {

TempCacheFolderLifetime g_tempCacheFolder;

int Start() {
    IResourceMgr* skin = CreateResourceManager();
    if (skin == nullptr) return 1;
    const bool served = skin->GetImage(L"main_bg.png") != nullptr;
    skin->Release();
    return served ? 0 : 1;
}

int Fourteen() {
    IResourceMgr* first = CreateResourceManager();
    if (first == nullptr) return 1;
    first->Release();
    if (!RemoveFile(GetTempCacheFolder() + L"images\\logo.png")) return 1;
    IResourceMgr* second = CreateResourceManager();
    if (second == nullptr) return 1;
    int missing = 0;
    for (const wchar_t* name : kSkinFileNames) {
        if (std::wstring(name) == L"logo.png") continue;
        CSkinImage* picture = second->GetImage(name);
        if (picture == nullptr || picture->Width() == 0) ++missing;
    }
    second->Release();
    return missing == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    // The logger starts first, as in the installer, so that the SDK is ready.
    GetLoggerServer();
    if (mode == L"start") return Start();
    if (mode == L"fourteen") return Fourteen();
    return 2;
}
