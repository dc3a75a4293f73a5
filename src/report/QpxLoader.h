// Bringing the analytics SDK into the process: its archive from the
// installer's own resources into the temporary cache folder, the DLL loaded
// from there (never unloaded), its three export tables and its
// initialisation. Every failure throws CorvanError with its message; the
// logger service catches them. Main thread only (first use of the logger).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "report/QpxApi.h"

inline constexpr int kQpxResourceId = 105;
inline constexpr wchar_t kQpxResourceType[] = L"BinarySystem";
inline constexpr wchar_t kQpxArchiveName[] = L"Qpx.zip";
inline constexpr wchar_t kQpxFolderName[] = L"Qpx\\";
inline constexpr wchar_t kQpxLibraryName[] = L"Qpx.dll";

// Writes resource 105 to "Qpx.zip" in the temporary cache folder, unpacks it
// into "Qpx\" there and loads "Qpx.dll"; stores the DLL's full path.
HMODULE LoadQpxLibrary(std::wstring& libraryPath);
// The non-empty entries of a zip archive written into folder (with a trailing
// backslash), replacing old files; entries that fail or whose names are not
// plain file names are skipped. False when the archive cannot be opened.
bool UnpackArchive(const std::wstring& archive, const std::wstring& folder);

std::unique_ptr<QpxCoreTable> BuildQpxCoreTable(HMODULE library);
std::unique_ptr<QpxRecordTable> BuildQpxRecordTable(HMODULE library);
std::unique_ptr<QpxDataTable> BuildQpxDataTable(HMODULE library);
// Opens the SDK handle and hands it the application's identity, host and
// keys; stores the handle in the table. Registers onCrash with the table as
// its context when the SDK offers crash reports.
void InitialiseQpx(QpxCoreTable& core, QpxCrashCallback onCrash);
