#include "core/EntrySequence.h"

#include <winsock2.h>

#include "core/AppInstance.h"
#include "core/PackageName.h"
#include "core/ProcessFlags.h"
#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "sys/Folders.h"
#include "sys/FileUtil.h"
#include "sys/TextEncoding.h"
#include "sys/Win32Handle.h"

namespace {

constexpr wchar_t kProductUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{CC98B63F-FEE3-45C3-89F5-C17B49A61F94}_is1";
constexpr DWORD kModulePathChars = 1024;
constexpr WORD kWinsockVersion = 0x0101;

std::wstring OwnExecutablePath() {
    wchar_t path[kModulePathChars] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kModulePathChars - 1);
    return std::wstring(path, length);
}

}  // namespace

CEntrySequence::CEntrySequence(HINSTANCE instance) : instance_(instance) {}

CEntrySequence::~CEntrySequence() = default;

void CEntrySequence::Run() {
    try {
        RunNormalPhase();
    } catch (...) {
        // Whatever ended the normal phase, the quit is still reported.
    }
    ownFile_.reset();
    ReportQuit();
}

void CEntrySequence::RunNormalPhase() {
    SetAppInstance(instance_);
    EnableDpiAwareness();
    ReadInstallationState();
    DerivePackageAndChannel();
    RecordBeginTimestamp();
    RecordLaunchingProgram();
    MeasureDownloadTime();
    ReportStart();
    StartServerQueries();
    CreateProductDataFolder();
    RunMainWindow();
}

void CEntrySequence::EnableDpiAwareness() {
    HMODULE user32 = ::LoadLibraryW(L"user32");
    if (user32 == nullptr) return;
    using SetDpiAware = BOOL(WINAPI*)();
    auto setAware = reinterpret_cast<SetDpiAware>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "SetProcessDPIAware")));
    if (setAware) setAware();
}

void CEntrySequence::ReadInstallationState() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    RegKey owned(key);
    GetProcessFlags().firstInstall = false;
}

void CEntrySequence::DerivePackageAndChannel() {
    packageName_ = PackageNameFromPath(WideToUtf8(OwnExecutablePath()));
    const std::string channel = ChannelFromPackageName(packageName_);
    // The own product version (installed-product lookup) joins here and may
    // replace the channel through ChannelFromVersion.
    settings_.Get().SetChannel(channel);
}

void CEntrySequence::RecordBeginTimestamp() {
    // The configuration record joins here: "begin_timestamp" under "General".
}

void CEntrySequence::RecordLaunchingProgram() {
    // The process queries join here: the parent's image path as "launch_appname".
}

void CEntrySequence::MeasureDownloadTime() {
    ownFile_ = std::make_unique<CFileStream>(CorvanFileOpen(kOpenReadShared, OwnExecutablePath()));
    int64_t created = 0, accessed = 0, written = 0;
    if (!ownFile_->GetFileTimes(created, accessed, written)) return;
    downloadTime_ = written > created ? static_cast<int32_t>(written - created) : 0;
}

void CEntrySequence::ReportStart() {
    using namespace catalogue;
    ILoggerServer* logger = GetLoggerServer();
    if (logger == nullptr) return;
    logger->ClearProperties();
    logger->SetBoolProperty(prop::kIsFirstInstall, GetProcessFlags().firstInstall);
    logger->SetStringProperty(prop::kSoftPackageName, packageName_.c_str());
    logger->SetIntProperty(prop::kDownloadTime, downloadTime_);
    logger->SetStringProperty(prop::kParentAppName, parentName_.c_str());
    logger->SetStringProperty(prop::kInstallType, value::kInstaller);
    logger->SendEvent(event::kSoftInstall);
    logger->WriteStartRecord(record::kStartNumber, "", "", "");
    logger->WriteStateRecord(record::kStateKindRun, record::kStateSource, record::kStateStart, packageName_.c_str(), "",
                             {});
}

void CEntrySequence::StartServerQueries() {
    WSADATA data{};
    ::WSAStartup(kWinsockVersion, &data);
    // The package and channel-welcome queries join here.
}

void CEntrySequence::CreateProductDataFolder() {
    const std::wstring folder = GetProductDataFolder();
    if (!folder.empty()) CreateDirectoryPath(folder);
}

void CEntrySequence::RunMainWindow() {
    // Until the main window exists the interactive phase is skipped, as when
    // its construction fails.
}

void CEntrySequence::ReportQuit() {
    using namespace catalogue;
    ILoggerServer* logger = GetLoggerServer();
    if (logger == nullptr) return;
    logger->WriteStateRecord(record::kStateKindRun, record::kStateSource, record::kStateExit, "", "", {});
    logger->ClearProperties();
    logger->SetStringProperty(prop::kEventName, value::kSoftExit);
    logger->SendEvent(event::kSoftQuit);
}
