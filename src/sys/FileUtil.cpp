#include "sys/FileUtil.h"

#include <vector>

#include "sys/TextOps.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

bool QueryAttributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

}  // namespace

bool FileExists(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return QueryAttributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::wstring& path) {
    std::wstring probe = path;
    if (probe.empty() || !IsSeparator(probe.back())) probe += L'/';
    probe += L'.';
    FileHandle opened(::CreateFileW(probe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!opened) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return QueryAttributes(probe, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateDirectoryPath(const std::wstring& path) {
    const std::vector<std::wstring> parts = SplitAny(path, L"\\/");
    std::wstring prefix;
    for (size_t i = 0; i < parts.size(); ++i) {
        prefix += parts[i];
        prefix += L'/';
        if (i == 0) continue;  // the drive
        if (::CreateDirectoryW(prefix.c_str(), nullptr)) continue;
        const DWORD error = ::GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) break;
    }
    return DirectoryExists(path);
}

bool RemoveFile(const std::wstring& path) { return ::DeleteFileW(path.c_str()) != FALSE; }

bool DeleteTree(const std::wstring& path) {
    if (path.empty()) return false;
    std::unique_ptr<CDirectoryListing> listing = CDirectoryListing::Open(path, L"*");
    if (!listing) {
        if (DirectoryExists(path)) return ::RemoveDirectoryW(path.c_str()) != FALSE;
        if (FileExists(path)) RemoveFile(path);
        return true;
    }
    do {
        if (listing->IsDirectory()) {
            DeleteTree(listing->FullPath());
        } else {
            RemoveFile(listing->FullPath());
        }
    } while (listing->Next());
    listing.reset();  // the search handle would keep the folder busy
    return ::RemoveDirectoryW(path.c_str()) != FALSE;
}

uint64_t QueryFileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!QueryAttributes(path, data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring AddBackslash(const std::wstring& path) {
    if (path.empty() || IsSeparator(path.back())) return path;
    return path + L'\\';
}

std::wstring GetDirectoryPart(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full)) return {};
    const std::wstring text(full, length);
    const size_t last = text.find_last_of(L"\\/");
    return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

std::wstring GetFileNamePart(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = {};
    wchar_t* filePart = nullptr;
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, &filePart);
    if (length == 0 || length >= std::size(full) || filePart == nullptr) return {};
    return filePart;
}

std::wstring GetExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos) return {};
    const size_t separator = path.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator > dot) return {};
    return path.substr(dot);
}

bool IsValidFolderPath(const std::wstring& path) {
    if (path.find(L"\\\\") != std::wstring::npos) return false;
    const std::vector<std::wstring> parts = SplitAny(path, L"\\");
    if (parts.empty()) return false;
    const std::wstring& drive = parts[0];
    const wchar_t letter = drive.empty() ? L'\0' : drive[0];
    const bool isLetter = (letter >= L'a' && letter <= L'z') || (letter >= L'A' && letter <= L'Z');
    if (drive.size() != 2 || drive.find(L':') == std::wstring::npos || !isLetter) return false;
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].find_first_of(L"/:*?\"<>|") != std::wstring::npos) return false;
    }
    return true;
}

std::unique_ptr<CDirectoryListing> CDirectoryListing::Open(const std::wstring& folder, const std::wstring& pattern) {
    const std::wstring base = AddBackslash(folder);
    WIN32_FIND_DATAW first{};
    HANDLE find = ::FindFirstFileW((base + pattern).c_str(), &first);
    if (find == INVALID_HANDLE_VALUE) return nullptr;
    std::unique_ptr<CDirectoryListing> listing(new CDirectoryListing(base, find, first));
    if (!listing->SkipDots()) return nullptr;
    return listing;
}

CDirectoryListing::CDirectoryListing(std::wstring folder, HANDLE find, const WIN32_FIND_DATAW& first)
    : folder_(std::move(folder)), find_(find), data_(first) {}

bool CDirectoryListing::Next() {
    if (!::FindNextFileW(find_.Get(), &data_)) return false;
    return SkipDots();
}

bool CDirectoryListing::SkipDots() {
    while (IsDotEntry(data_.cFileName)) {
        if (!::FindNextFileW(find_.Get(), &data_)) return false;
    }
    return true;
}
