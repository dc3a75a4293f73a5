// Writes the user's Internet proxy settings into the registry for one test and
// removes them afterwards, as the Internet options dialog would store them:
// the binary connection settings and the plain values beside them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sys/Win32Handle.h"

class UserProxySettings {
public:
    static UserProxySettings ManualList(const std::string& list) { return UserProxySettings(list, ""); }
    static UserProxySettings AutoConfig(const std::string& url) { return UserProxySettings("", url); }

    ~UserProxySettings() {
        RegKey settings = Open(kSettingsKey);
        for (const wchar_t* name : {L"ProxyEnable", L"ProxyServer", L"AutoConfigURL"}) {
            ::RegDeleteValueW(settings.Get(), name);
        }
        RegKey connections = Open(kConnectionsKey);
        ::RegDeleteValueW(connections.Get(), L"DefaultConnectionSettings");
    }
    UserProxySettings(const UserProxySettings&) = delete;
    UserProxySettings& operator=(const UserProxySettings&) = delete;

private:
    static constexpr wchar_t kSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    static constexpr wchar_t kConnectionsKey[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
    static constexpr uint32_t kVersion = 0x46;
    static constexpr uint32_t kDirect = 1;
    static constexpr uint32_t kUseProxy = 2;
    static constexpr uint32_t kUseScript = 4;

    UserProxySettings(const std::string& list, const std::string& scriptUrl) {
        uint32_t flags = kDirect;
        if (!list.empty()) flags |= kUseProxy;
        if (!scriptUrl.empty()) flags |= kUseScript;
        std::vector<uint8_t> blob;
        for (const uint32_t word : {kVersion, 1u, flags})
            Append(blob, word);
        for (const std::string& text : {list, std::string(), scriptUrl}) {
            Append(blob, static_cast<uint32_t>(text.size()));
            blob.insert(blob.end(), text.begin(), text.end());
        }
        blob.resize(blob.size() + 32);
        RegKey connections = Open(kConnectionsKey);
        ::RegSetValueExW(connections.Get(), L"DefaultConnectionSettings", 0, REG_BINARY, blob.data(),
                         static_cast<DWORD>(blob.size()));

        RegKey settings = Open(kSettingsKey);
        const DWORD enable = list.empty() ? 0 : 1;
        ::RegSetValueExW(settings.Get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable),
                         sizeof enable);
        if (!list.empty()) SetText(settings, L"ProxyServer", list);
        if (!scriptUrl.empty()) SetText(settings, L"AutoConfigURL", scriptUrl);
    }

    static void Append(std::vector<uint8_t>& blob, uint32_t word) {
        for (int i = 0; i < 4; ++i)
            blob.push_back(static_cast<uint8_t>(word >> (8 * i)));
    }

    static void SetText(const RegKey& key, const wchar_t* name, const std::string& ascii) {
        const std::wstring text(ascii.begin(), ascii.end());
        ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    static RegKey Open(const wchar_t* path) {
        HKEY key = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        return RegKey(key);
    }
};
