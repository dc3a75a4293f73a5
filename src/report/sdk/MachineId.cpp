#include "report/sdk/MachineId.h"

#include <windows.h>

#include <wincrypt.h>

#include "sys/Win32Handle.h"

namespace {

constexpr wchar_t kCryptographyKey[] = L"SOFTWARE\\Microsoft\\Cryptography";
constexpr DWORD kMd5Bytes = 16;
constexpr DWORD kMachineGuidBytes = 128;

std::string MachineGuid() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCryptographyKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return {};
    RegKey owned(key);
    char value[kMachineGuidBytes] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key, "MachineGuid", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return std::string(value);
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    return ::GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

class CryptProvider {
public:
    CryptProvider() { ::CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT); }
    ~CryptProvider() {
        if (provider_ != 0) ::CryptReleaseContext(provider_, 0);
    }
    CryptProvider(const CryptProvider&) = delete;
    CryptProvider& operator=(const CryptProvider&) = delete;
    HCRYPTPROV Get() const { return provider_; }

private:
    HCRYPTPROV provider_ = 0;
};

class CryptHash {
public:
    explicit CryptHash(HCRYPTPROV provider) {
        if (provider != 0) ::CryptCreateHash(provider, CALG_MD5, 0, 0, &hash_);
    }
    ~CryptHash() {
        if (hash_ != 0) ::CryptDestroyHash(hash_);
    }
    CryptHash(const CryptHash&) = delete;
    CryptHash& operator=(const CryptHash&) = delete;
    HCRYPTHASH Get() const { return hash_; }

private:
    HCRYPTHASH hash_ = 0;
};

std::string Md5Hex(const std::string& bytes) {
    CryptProvider provider;
    CryptHash hash(provider.Get());
    if (hash.Get() == 0) return {};
    if (!::CryptHashData(hash.Get(), reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0))
        return {};
    BYTE digest[kMd5Bytes] = {};
    DWORD size = sizeof digest;
    if (!::CryptGetHashParam(hash.Get(), HP_HASHVAL, digest, &size, 0) || size != kMd5Bytes) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (BYTE b : digest) {
        hex += kHex[b >> 4];
        hex += kHex[b & 0x0F];
    }
    return hex;
}

}  // namespace

std::string MachineDigest(const std::string& salt) {
    std::string source = MachineGuid();
    if (source.empty()) source = ComputerName();
    if (source.empty()) return {};
    return Md5Hex(salt + source);
}
