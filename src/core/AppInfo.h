// What the machine says about the installed product and about executables:
// the product's uninstall entry ("DisplayIcon") and version resources, plus a
// generic lookup of any program's install folder by its uninstall entry.
//
// One process-wide instance, reached through GetAppInfo and used from the
// main thread; GetProductVersion and ReadInstallLocation keep no state and
// may be called from any thread.
#pragma once

#include <string>

inline constexpr wchar_t kProductUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{CC98B63F-FEE3-45C3-89F5-C17B49A61F94}_is1";

class IAppInfo {
public:
    // Re-reads the installed path and version; false only when an unexpected
    // error interrupted it.
    virtual bool Refresh() = 0;
    // Empty when the product is not installed.
    virtual const std::wstring& GetInstalledPath() = 0;
    virtual const std::wstring& GetInstalledVersion() = 0;
    // The "ProductVersion" text of the file's version resource in its first
    // translation; an empty path means the installer's own executable.
    virtual std::wstring GetProductVersion(const std::wstring& path) = 0;
    virtual ~IAppInfo() = default;
};

class CAppInfo : public IAppInfo {
public:
    // uninstallKey names the entry under HKEY_LOCAL_MACHINE.
    explicit CAppInfo(std::wstring uninstallKey = kProductUninstallKey);

    bool Refresh() override;
    const std::wstring& GetInstalledPath() override { return installedPath_; }
    const std::wstring& GetInstalledVersion() override { return installedVersion_; }
    std::wstring GetProductVersion(const std::wstring& path) override;

private:
    std::wstring ReadDisplayIcon() const;

    std::wstring uninstallKey_;
    std::wstring installedPath_;
    std::wstring installedVersion_;
};

// The product's instance, refreshed once when created; null only when it
// could not be created.
IAppInfo* GetAppInfo();

// The install folder of the program whose uninstall entry is entryName:
// "InstallLocation" of the current user, then of the machine, then the
// folder of "DisplayIcon" likewise; empty when none is found.
std::wstring ReadInstallLocation(const std::wstring& entryName);
