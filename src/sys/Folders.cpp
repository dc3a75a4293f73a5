#include "sys/Folders.h"

#include <shlobj.h>

#include <ctime>
#include <vector>

#include "sys/FileUtil.h"
#include "sys/TextOps.h"
#include "sys/Win32Handle.h"

namespace {

constexpr DWORD kVolumeNameChars = 261;
constexpr wchar_t kProbeFolderName[] = L"DraymontPkg";
constexpr int64_t kTempCacheNameTries = 16;

std::wstring& TempCacheFolderValue() {
    static std::wstring folder;
    return folder;
}

std::wstring FirstPartWithBackslash(const std::wstring& path) {
    const std::vector<std::wstring> parts = SplitAny(path, L"\\");
    return parts.empty() ? std::wstring() : parts[0] + L'\\';
}

// All mount paths of one volume, from a list of strings ended by an empty one.
std::vector<std::wstring> MountPathsOf(const wchar_t* volume) {
    std::vector<wchar_t> names(kVolumeNameChars, L'\0');
    DWORD needed = 0;
    if (!::GetVolumePathNamesForVolumeNameW(volume, names.data(), kVolumeNameChars, &needed)) {
        if (::GetLastError() != ERROR_MORE_DATA || needed == 0) return {};
        // A volume mounted in many places: ask again with the size it named.
        names.assign(needed, L'\0');
        if (!::GetVolumePathNamesForVolumeNameW(volume, names.data(), needed, &needed)) return {};
    }
    std::vector<std::wstring> paths;
    for (const wchar_t* name = names.data(); *name != L'\0'; name += paths.back().size() + 1) {
        paths.emplace_back(name);
    }
    return paths;
}

std::vector<std::wstring> AllMountPaths() {
    std::vector<std::wstring> paths;
    wchar_t volume[MAX_PATH + 1] = {};
    VolumeFindHandle find(::FindFirstVolumeW(volume, MAX_PATH));
    if (!find) return paths;
    do {
        const std::wstring name = volume;
        if (name.rfind(L"\\\\?\\", 0) != 0 || name.back() != L'\\') continue;
        for (std::wstring& path : MountPathsOf(volume))
            paths.push_back(std::move(path));
    } while (::FindNextVolumeW(find.Get(), volume, MAX_PATH));
    return paths;
}

bool CanCreateFolderOn(const std::wstring& root) {
    const std::wstring probe = root + kProbeFolderName;
    if (!CreateDirectoryPath(probe)) return false;
    DeleteTree(probe);
    return true;
}

std::wstring SystemDriveRoot() {
    wchar_t windows[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows))) return {};
    return FirstPartWithBackslash(windows);
}

}  // namespace

std::wstring GetDataRootFolder() {
    static std::wstring root;
    if (!root.empty()) return root;
    wchar_t appData[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE)) return root;
    root = AddBackslash(appData) + kDataRootName;
    if (!DirectoryExists(root)) CreateDirectoryPath(root);
    return root;
}

std::wstring GetProductDataFolder() {
    const std::wstring root = GetDataRootFolder();
    return root.empty() ? root : root + kProductDataName;
}

std::wstring GetTempCacheFolder() { return TempCacheFolderValue(); }

uint64_t GetFreeSpace(const std::wstring& path) {
    const std::wstring root = FirstPartWithBackslash(path);
    if (root.empty()) return 0;
    const UINT type = ::GetDriveTypeW(root.c_str());
    if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED) return 0;
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr)) return 0;
    return available.QuadPart;
}

std::wstring GetBestVolume() {
    uint64_t best = 0;
    std::wstring result;
    for (const std::wstring& path : AllMountPaths()) {
        const uint64_t free = GetFreeSpace(path);
        if (free <= best || !CanCreateFolderOn(path)) continue;
        best = free;
        result = path;
    }
    if (result.empty()) result = GetDataRootFolder();
    if (result.empty()) result = SystemDriveRoot();
    return result;
}

TempCacheFolderLifetime::TempCacheFolderLifetime() {
    const std::wstring base = GetBestVolume();
    if (base.empty()) return;
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    // Two installers started in the same second would share one folder and the
    // first to exit would delete the other's files: a folder that already
    // exists belongs to someone else, so take the next second's name.
    for (int64_t seconds = now; seconds < now + kTempCacheNameTries; ++seconds) {
        const std::wstring folder = base + kTempCachePrefix + FormatInt64Wide(seconds);
        if (!CreateDirectoryPath(base)) break;
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            TempCacheFolderValue() = AddBackslash(folder);
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempCacheFolderLifetime::~TempCacheFolderLifetime() {
    std::wstring& folder = TempCacheFolderValue();
    if (!folder.empty()) DeleteTree(folder);
    folder.clear();
}
