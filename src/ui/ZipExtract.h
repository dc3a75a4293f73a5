// Extraction of a flat zip archive (the skin) into a folder.
#pragma once

#include <string>

// Every entry of archivePath written to folder (with its trailing backslash)
// under its stored name, in archive order. 0 on success; -1 when the archive
// cannot be opened, has no entries, or an entry fails, which stops the
// extraction. An entry whose name is not a plain file name (a folder, a
// path, "..") fails: nothing may be written outside folder.
int ExtractZipArchive(const std::wstring& archivePath, const std::wstring& folder);
