#include "core/EntrySequence.h"

#include <winsock2.h>

#include <ctime>
#include <utility>

#include "core/AppInfo.h"
#include "core/AppInstance.h"
#include "core/CacheConfig.h"
#include "core/PackageName.h"
#include "core/ProcessFlags.h"
#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "server/PkgInfo.h"
#include "server/ServerInfo.h"
#include "sys/CorvanError.h"
#include "sys/Folders.h"
#include "sys/FileUtil.h"
#include "sys/SystemInfo.h"
#include "sys/TextEncoding.h"
#include "sys/TextOps.h"
#include "sys/Win32Handle.h"

namespace {

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
    std::string channel = ChannelFromPackageName(packageName_);
    if (IAppInfo* appInfo = GetAppInfo()) {
        channel = ChannelFromVersion(WideToUtf8(appInfo->GetProductVersion(L"")), std::move(channel));
    }
    settings_.Get().SetChannel(channel);
}

void CEntrySequence::RecordBeginTimestamp() {
    GetCacheConfig().SetBeginTimestamp(FormatInt64Wide(static_cast<int64_t>(std::time(nullptr))));
}

void CEntrySequence::RecordLaunchingProgram() {
    DWORD parentId = 0;
    if (!GetParentProcessId(::GetCurrentProcessId(), parentId)) return;
    if (!GetProcessImagePath(parentId, parentImagePath_) || parentImagePath_.empty()) return;
    GetCacheConfig().SetLaunchAppName(parentImagePath_);
    const std::string utf8Path = WideToUtf8(parentImagePath_);
    const size_t lastBackslash = utf8Path.rfind('\\');
    if (lastBackslash != std::string::npos) parentName_ = utf8Path.substr(lastBackslash + 1);
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
    if (GetPkgInfo() == nullptr) throw CorvanError("Get package information error");
    if (GetServerInfo() == nullptr) throw CorvanError("Get server information error");
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
