// The installer's own folders and the user's disks.
//
// The data root folder persists between runs; the temporary cache folder lives
// exactly as long as the process: TempCacheFolderLifetime creates it during
// static initialisation and deletes it, with everything in it, at process exit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// winbase.h still carries a 16-bit-era macro of this name that would silently
// turn every call into a constant.
#undef GetFreeSpace

inline constexpr wchar_t kDataRootName[] = L"DraymontPkg\\";
inline constexpr wchar_t kTempCachePrefix[] = L"DraymontPkg_";
inline constexpr wchar_t kProductDataName[] = L"TARVELAPP\\";

// The user's application-data folder + "DraymontPkg\", created when missing;
// empty when the application-data folder is unknown.
std::wstring GetDataRootFolder();
// The data root folder + "TARVELAPP\" (not created here).
std::wstring GetProductDataFolder();
// The temporary cache folder with a trailing backslash; empty when it could
// not be created or outside the process lifetime.
std::wstring GetTempCacheFolder();
// The root of the writable volume with the most free space, with fallbacks.
std::wstring GetBestVolume();
// Bytes available to the caller on the (local) volume of path, or 0.
uint64_t GetFreeSpace(const std::wstring& path);

class TempCacheFolderLifetime {
public:
    TempCacheFolderLifetime();
    ~TempCacheFolderLifetime();
    TempCacheFolderLifetime(const TempCacheFolderLifetime&) = delete;
    TempCacheFolderLifetime& operator=(const TempCacheFolderLifetime&) = delete;
};
