// The life of the installer process after the single-instance guard: start
// facts, reporting, server queries, the main window and its message loop, and
// the tear-down that reports the quit. Runs on the main thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/SharedSettings.h"
#include "sys/FileStream.h"

class CEntrySequence {
public:
    explicit CEntrySequence(HINSTANCE instance);
    ~CEntrySequence();

    // The whole sequence; failures of the normal phase end in the quit report.
    void Run();

    const std::string& PackageName() const { return packageName_; }

private:
    void RunNormalPhase();
    void EnableDpiAwareness();
    void ReadInstallationState();
    void DerivePackageAndChannel();
    void RecordBeginTimestamp();
    void RecordLaunchingProgram();
    void MeasureDownloadTime();
    void ReportStart();
    void StartServerQueries();
    void CreateProductDataFolder();
    void RunMainWindow();
    void ReportQuit();

    HINSTANCE instance_;
    SharedSettingsScope settings_;
    std::string packageName_;       // UTF-8
    std::wstring parentImagePath_;
    std::string parentName_;        // UTF-8
    int32_t downloadTime_ = 0;      // seconds
    std::unique_ptr<CFileStream> ownFile_;
};
