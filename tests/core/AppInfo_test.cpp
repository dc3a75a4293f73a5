#include "core/AppInfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "sys/FileUtil.h"
#include "sys/TextOps.h"
#include "tests/support/ScratchFolder.h"

namespace {

constexpr wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Fixture(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return GetDirectoryPart(self) + name + L".exe";
}

// An uninstall entry of this test process in the prefix's real registry,
// deleted again afterwards.
class UninstallEntry {
public:
    explicit UninstallEntry(const wchar_t* tag)
        : name_(std::wstring(L"TarvelTest-") + tag + L"-" + FormatInt64Wide(::GetCurrentProcessId())) {}
    ~UninstallEntry() {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            ::RegDeleteTreeW(root, Key().c_str());
    }
    UninstallEntry(const UninstallEntry&) = delete;
    UninstallEntry& operator=(const UninstallEntry&) = delete;

    const std::wstring& Name() const { return name_; }
    std::wstring Key() const { return kUninstallRoot + name_; }
    void Set(HKEY root, const wchar_t* value, const std::wstring& text) const {
        const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(::RegSetKeyValueW(root, Key().c_str(), value, REG_SZ, text.c_str(), bytes), ERROR_SUCCESS);
    }
    void CreateEmpty() const {
        HKEY key = nullptr;
        ASSERT_EQ(
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, Key().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

private:
    std::wstring name_;
};

TEST(AppInfo, ProductVersionOfTheFirstTranslation) {
    CAppInfo info;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"version_3_6_13_246", L"3.6.13.246"},
        // Translation 0x0804/0x04B0 comes first: \StringFileInfo\080404b0\ProductVersion.
        {L"version_chinese_first", L"3.97.1.2"},
        {L"version_without_product", L""},
        {L"no_version", L""},
        {L"no_such_file", L""},
    };
    for (const auto& [fixture, version] : cases) {
        EXPECT_EQ(info.GetProductVersion(Fixture(fixture)), version) << Narrow(fixture);
    }
}

TEST(AppInfo, InstalledProductFromDisplayIcon) {
    ScratchFolder scratch;
    const std::wstring deleted = scratch.Path(L"deleted.exe");
    ASSERT_TRUE(::CopyFileW(Fixture(L"version_3_6_13_246").c_str(), deleted.c_str(), FALSE));
    ASSERT_TRUE(RemoveFile(deleted));
    const std::wstring installed = Fixture(L"version_3_6_13_246");

    struct Case {
        const char* name;
        std::wstring displayIcon;
        std::wstring path;
        std::wstring version;
    };
    const Case cases[] = {
        {"installed", installed, installed, L"3.6.13.246"},
        {"icon index", installed + L",0", L"", L""},
        {"deleted file", deleted, L"", L""},
        {"no version resource", Fixture(L"no_version"), Fixture(L"no_version"), L""},
        {"empty value", L"", L"", L""},
    };
    for (const Case& c : cases) {
        UninstallEntry entry(L"product");
        entry.Set(HKEY_LOCAL_MACHINE, L"DisplayIcon", c.displayIcon);
        CAppInfo info(entry.Key());
        EXPECT_TRUE(info.Refresh()) << c.name;
        EXPECT_EQ(info.GetInstalledPath(), c.path) << c.name;
        EXPECT_EQ(info.GetInstalledVersion(), c.version) << c.name;
    }
}

TEST(AppInfo, RefreshForgetsAnUninstalledProduct) {
    UninstallEntry entry(L"refresh");
    entry.Set(HKEY_LOCAL_MACHINE, L"DisplayIcon", Fixture(L"version_3_6_13_246"));
    CAppInfo info(entry.Key());
    ASSERT_TRUE(info.Refresh());
    ASSERT_FALSE(info.GetInstalledPath().empty());
    ASSERT_EQ(::RegDeleteTreeW(HKEY_LOCAL_MACHINE, entry.Key().c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(info.Refresh());
    EXPECT_TRUE(info.GetInstalledPath().empty());
    EXPECT_TRUE(info.GetInstalledVersion().empty());
}

TEST(AppInfo, InstallLocationFallsBackToTheIconFolder) {
    struct Value {
        HKEY root;
        const wchar_t* name;
        const wchar_t* text;
    };
    struct Case {
        const char* name;
        std::vector<Value> values;
        std::wstring expected;
    };
    const Case cases[] = {
        {"icon only", {{HKEY_LOCAL_MACHINE, L"DisplayIcon", L"C:\\Apps\\Browser\\browser.exe"}}, L"C:\\Apps\\Browser"},
        {"user location first",
         {{HKEY_CURRENT_USER, L"InstallLocation", L"C:\\User\\App"},
          {HKEY_LOCAL_MACHINE, L"InstallLocation", L"C:\\Machine\\App"}},
         L"C:\\User\\App"},
        {"machine location before any icon",
         {{HKEY_CURRENT_USER, L"DisplayIcon", L"C:\\User\\App\\app.exe"},
          {HKEY_LOCAL_MACHINE, L"InstallLocation", L"C:\\Machine\\App"}},
         L"C:\\Machine\\App"},
        {"empty location, user icon first",
         {{HKEY_CURRENT_USER, L"InstallLocation", L""},
          {HKEY_CURRENT_USER, L"DisplayIcon", L"C:\\User\\App\\app.exe"},
          {HKEY_LOCAL_MACHINE, L"DisplayIcon", L"C:\\Machine\\App\\app.exe"}},
         L"C:\\User\\App"},
        {"icon without folder", {{HKEY_LOCAL_MACHINE, L"DisplayIcon", L"app.exe"}}, L""},
        {"no entry", {}, L""},
    };
    for (const Case& c : cases) {
        UninstallEntry entry(L"location");
        for (const Value& v : c.values)
            entry.Set(v.root, v.name, v.text);
        EXPECT_EQ(ReadInstallLocation(entry.Name()), c.expected) << c.name;
    }
}

TEST(AppInfo, OverlongRegistryValuesStayInsideTheBuffer) {
    UninstallEntry entry(L"long");
    const std::wstring longFolder = L"C:\\" + std::wstring(400, L'x');
    entry.Set(HKEY_LOCAL_MACHINE, L"InstallLocation", longFolder);
    const std::wstring location = ReadInstallLocation(entry.Name());
    EXPECT_LE(location.size(), 259u);

    entry.Set(HKEY_LOCAL_MACHINE, L"DisplayIcon", std::wstring(1500, L'y'));
    CAppInfo info(entry.Key());
    EXPECT_TRUE(info.Refresh());
    EXPECT_TRUE(info.GetInstalledPath().empty());
}

}  // namespace
