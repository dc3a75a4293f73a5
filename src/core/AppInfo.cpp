#include "core/AppInfo.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "sys/FileUtil.h"
#include "sys/SystemInfo.h"
#include "sys/Win32Handle.h"

namespace {

constexpr DWORD kDisplayIconChars = 1024;
constexpr DWORD kModulePathChars = 1024;
constexpr DWORD kLocationValueBytes = 520;
constexpr wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A zeroed buffer of `chars` wide characters of which at most chars - 1 are
// filled, so the text always ends inside it whatever the value holds.
std::wstring QueryText(HKEY key, const wchar_t* name, DWORD chars) {
    std::vector<wchar_t> buffer(chars, L'\0');
    DWORD bytes = (chars - 1) * sizeof(wchar_t);
    ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    return buffer.data();
}

std::wstring ReadUninstallValue(HKEY root, const std::wstring& key, const wchar_t* name) {
    const REGSAM access = KEY_ALL_ACCESS | (Is64BitSystem() ? KEY_WOW64_64KEY : 0);
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
    RegKey owned(opened);
    return QueryText(owned.Get(), name, kLocationValueBytes / sizeof(wchar_t));
}

std::wstring OwnExecutablePath() {
    wchar_t path[kModulePathChars] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathChars - 1);
    return std::wstring(path, length);
}

}  // namespace

CAppInfo::CAppInfo(std::wstring uninstallKey) : uninstallKey_(std::move(uninstallKey)) {}

bool CAppInfo::Refresh() {
    installedPath_.clear();
    installedVersion_.clear();
    try {
        std::wstring path = ReadDisplayIcon();
        // The text is a path as it stands: "file.exe,0" names no file, so the
        // product counts as not installed.
        if (!path.empty() && !FileExists(path)) path.clear();
        installedPath_ = path;
        if (!installedPath_.empty()) installedVersion_ = GetProductVersion(installedPath_);
        return true;
    } catch (...) {
        return false;
    }
}

std::wstring CAppInfo::ReadDisplayIcon() const {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKey_.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
    RegKey owned(opened);
    return QueryText(owned.Get(), L"DisplayIcon", kDisplayIconChars);
}

std::wstring CAppInfo::GetProductVersion(const std::wstring& path) {
    const std::wstring file = path.empty() ? OwnExecutablePath() : path;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> data(2 * static_cast<size_t>(size) + 2, 0);
    if (!::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) return {};

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT translationBytes = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                          &translationBytes) ||
        translations == nullptr || translationBytes < sizeof(Translation)) {
        return {};
    }
    wchar_t block[64] = {};
    std::swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language, translations[0].codePage,
                  L"ProductVersion");
    wchar_t* text = nullptr;
    UINT textChars = 0;
    if (!::VerQueryValueW(data.data(), block, reinterpret_cast<void**>(&text), &textChars) || text == nullptr)
        return {};
    return std::wstring(text, ::wcsnlen(text, textChars));
}

IAppInfo* GetAppInfo() {
    static const std::unique_ptr<CAppInfo> instance = [] {
        std::unique_ptr<CAppInfo> created(new (std::nothrow) CAppInfo());
        if (created) created->Refresh();
        return created;
    }();
    return instance.get();
}

std::wstring ReadInstallLocation(const std::wstring& entryName) {
    const std::wstring key = kUninstallRoot + entryName;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const std::wstring location = ReadUninstallValue(root, key, L"InstallLocation");
        if (!location.empty()) return location;
    }
    std::wstring icon = ReadUninstallValue(HKEY_CURRENT_USER, key, L"DisplayIcon");
    if (icon.empty()) icon = ReadUninstallValue(HKEY_LOCAL_MACHINE, key, L"DisplayIcon");
    const size_t lastBackslash = icon.rfind(L'\\');
    return lastBackslash == std::wstring::npos ? std::wstring() : icon.substr(0, lastBackslash);
}
