// File and path operations on wide paths. None of them throws: failures give
// false, 0 or an empty string.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sys/Win32Handle.h"

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Creates every missing folder of the path; true when it exists afterwards.
bool CreateDirectoryPath(const std::wstring& path);
bool RemoveFile(const std::wstring& path);
// Deletes a folder with everything in it, or a single file.
bool DeleteTree(const std::wstring& path);
uint64_t QueryFileSize(const std::wstring& path);

std::wstring AddBackslash(const std::wstring& path);
// The full path cut just after its last separator.
std::wstring GetDirectoryPart(const std::wstring& path);
std::wstring GetFileNamePart(const std::wstring& path);
// From the last "." to the end, when that "." is in the last path element.
std::wstring GetExtension(const std::wstring& path);
// A drive ("C:") followed by folder names free of / : * ? " < > |.
bool IsValidFolderPath(const std::wstring& path);

// The entries of a folder other than "." and "..", one at a time.
class CDirectoryListing {
public:
    // A listing on its first entry, or null when the folder has none.
    static std::unique_ptr<CDirectoryListing> Open(const std::wstring& folder, const std::wstring& pattern);

    std::wstring FullPath() const { return folder_ + data_.cFileName; }
    std::wstring Name() const { return data_.cFileName; }
    bool IsDirectory() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // Moves to the next entry; false at the end.
    bool Next();

private:
    CDirectoryListing(std::wstring folder, HANDLE find, const WIN32_FIND_DATAW& first);
    bool SkipDots();

    std::wstring folder_;  // with a trailing backslash
    FindHandle find_;
    WIN32_FIND_DATAW data_;
};
