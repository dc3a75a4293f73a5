// Everything the installer reports: event names, property keys, the fixed
// property values (UTF-8), the page and action codes of click records, and the
// start, exit and crash records. Callers name these constants instead of
// writing literals, so that a misspelt name cannot reach the analytics service.
#pragma once

namespace catalogue {

namespace event {
inline constexpr char kSoftInstall[] = "pSoftInstall";
inline constexpr char kResourceMgrStart[] = "vResourceMgrStart";
inline constexpr char kResourceStatus[] = "vResourceStatus";
inline constexpr char kResourceError[] = "vResourceError";
inline constexpr char kInstallPathError[] = "vInstallPathError";
inline constexpr char kReInstall[] = "vReInstall";
inline constexpr char kInstallPage[] = "vInstallPage";
inline constexpr char kReInstallOpera[] = "vReInstallOpera";
inline constexpr char kConfirmInstall[] = "pConfirmInstall";
inline constexpr char kCancelInstall[] = "pCancelInstall";
inline constexpr char kJoinPlan[] = "vJoinPlan";
inline constexpr char kSoftDownloadStart[] = "vSoftDownloadStart";
inline constexpr char kNetworkCheck[] = "vNetworkCheck";
inline constexpr char kSoftDownloadError[] = "vSoftDownloadError";
inline constexpr char kSoftDownloadResult[] = "pSoftDownloadResult";
inline constexpr char kSoftInstallStart[] = "vSoftInstallStart";
inline constexpr char kSoftInstallError[] = "vSoftInstallError";
inline constexpr char kSoftInstallResult[] = "pSoftInstallResult";
inline constexpr char kOpenUrl[] = "vOpenUrl";
inline constexpr char kCloseStartPage[] = "pCloseStartPage";
inline constexpr char kImmediateUse[] = "pImmediateUse";
inline constexpr char kSoftDump[] = "vSoftDump";
inline constexpr char kSoftQuit[] = "vSoftQuit";
}  // namespace event

namespace prop {
inline constexpr char kIsReinstall[] = "is_reinstall";                 // bool
inline constexpr char kIsFirstInstall[] = "is_first_install";          // bool
inline constexpr char kSoftPackageName[] = "soft_package_name";        // text
inline constexpr char kInstallType[] = "install_type";                 // text
inline constexpr char kDownloadTime[] = "download_time";               // int
inline constexpr char kParentAppName[] = "parent_app_name";            // text
inline constexpr char kResourceStatus[] = "resource_status";           // text
inline constexpr char kErrorStatus[] = "error_status";                 // text
inline constexpr char kErrorType[] = "error_type";                     // text
inline constexpr char kWindowsName[] = "windows_name";                 // text
inline constexpr char kEventName[] = "event_name";                     // text
inline constexpr char kConfirmEntrance[] = "confirm_entrance";         // text
inline constexpr char kChooseJoinPlan[] = "choose_join_plan";          // bool
inline constexpr char kNetworkType[] = "network_type";                 // text
inline constexpr char kConnType[] = "conn_type";                       // int
inline constexpr char kHostName[] = "host_name";                       // text
inline constexpr char kSoftDownloadStatus[] = "soft_download_status";  // text
inline constexpr char kInstallStatus[] = "install_status";             // text
inline constexpr char kLaunchAppType[] = "launch_app_type";            // int
inline constexpr char kBrowserNum[] = "browser_num";                   // int
inline constexpr char kBrowserName[] = "browser_name";                 // text
}  // namespace prop

namespace value {
// install_type
inline constexpr char kInstaller[] = "安装器";
// resource_status
inline constexpr char kResourceCreated[] = "创建资源成功";
inline constexpr char kResourceCreateFailed[] = "创建资源失败";
// error_status of vResourceError
inline constexpr char kResourceMissing[] = "获取指定资源失败";
inline constexpr char kResourceUnpackFailed[] = "资源解压失败";
inline constexpr char kCachePathFailed[] = "创建缓存路径失败";
// error_status of vInstallPathError: at start-up, and on switching to progress
inline constexpr char kMaxDiskSpaceShort[] = "最大磁盘空间不足";
inline constexpr char kDiskSpaceShort[] = "磁盘空间不足";
// windows_name, and confirm_entrance from the begin page
inline constexpr char kInstallNow[] = "立即安装";
inline constexpr char kCustomInstall[] = "自定义安装";
inline constexpr char kOverwriteInstall[] = "覆盖安装";
// confirm_entrance from the custom-install page
inline constexpr char kStartInstall[] = "开始安装";
// event_name of vReInstallOpera
inline constexpr char kOpenSoftware[] = "打开软件";
inline constexpr char kDirectInstall[] = "直接安装";
inline constexpr char kClose[] = "关闭";
// event_name of vSoftQuit
inline constexpr char kSoftExit[] = "软件退出";
inline constexpr char kSoftCrash[] = "软件崩溃";
// network_type of vNetworkCheck
inline constexpr char kNetworkProxy[] = "网络代理";
inline constexpr char kNetworkDns[] = "DNS解析";
// conn_type of vNetworkCheck
inline constexpr int kConnDirect = 0;
inline constexpr int kConnHttpProxy = 1;
inline constexpr int kConnOwnDns = 1;
// soft_download_status, with download_time -1 unless downloaded
inline constexpr char kDownloadSucceeded[] = "下载成功";
inline constexpr char kLocalFileExists[] = "存在本地文件";
inline constexpr char kDownloadFailed[] = "下载失败";
inline constexpr int kNoDownloadTime = -1;
// install_status
inline constexpr char kInstallSucceeded[] = "安装成功";
// error_type of vSoftDownloadError, with their error_status values
inline constexpr char kDownloadThreadError[] = "下载线程出错";
inline constexpr char kBadArguments[] = "参数错误";
inline constexpr char kCreateThreadError[] = "创建线程出错";
inline constexpr char kConnectError[] = "连接错误";
inline constexpr char kRetriesExceeded[] = "重试超过最大次数";
inline constexpr char kWriteFileError[] = "写文件出错";
inline constexpr char kUrlInfoThreadError[] = "获取下载信息线程出错";
inline constexpr char kPackageInfoFailed[] = "获取包信息失败";
inline constexpr char kNetworkFailed[] = "网络失败";
inline constexpr char kHeaderFailed[] = "获取头信息失败";
inline constexpr char kTooManyRetries[] = "重试次数过多";
inline constexpr char kInitFailed[] = "初始化失败";
}  // namespace value

// Click records: page code, action code, and an empty extra text.
namespace page {
inline constexpr char kBegin[] = "0001";
inline constexpr char kCustomInstall[] = "0002";
inline constexpr char kProgress[] = "0003";
inline constexpr char kFinished[] = "0004";
inline constexpr char kCancelFromBegin[] = "0005";
inline constexpr char kCancelFromCustom[] = "0006";
inline constexpr char kNetworkErrorDownload[] = "0007";
inline constexpr char kNetworkErrorInstall[] = "0008";
inline constexpr char kManualDownload[] = "0010";
inline constexpr char kManualInstall[] = "0011";
}  // namespace page

namespace action {
// Begin page.
inline constexpr char kBeginClose[] = "0001";
inline constexpr char kBeginInstallNow[] = "0002";
inline constexpr char kBeginAgreementBox[] = "0003";
inline constexpr char kBeginAgreementLink[] = "0004";
inline constexpr char kBeginCustomLink[] = "0005";
// Custom-install page.
inline constexpr char kCustomStartInstall[] = "0005";
// Progress page.
inline constexpr char kProgressHide[] = "0001";
inline constexpr char kProgressTrayShow[] = "0002";
// Finished page.
inline constexpr char kFinishedClose[] = "0001";
inline constexpr char kFinishedStart[] = "0002";
// Every dialog: its first and its second button.
inline constexpr char kDialogFirst[] = "0001";
inline constexpr char kDialogSecond[] = "0002";
}  // namespace action

inline constexpr char kNoExtra[] = "";

// Numbered records written at the ends of a run.
namespace record {
inline constexpr int kStartNumber = 1;
inline constexpr int kStateKindCrash = 1;
inline constexpr int kStateKindRun = 4;
inline constexpr char kStateSource[] = "0001";
inline constexpr char kStateStart[] = "0001";
inline constexpr char kStateExit[] = "0002";
inline constexpr char kStateCrash[] = "0001";
}  // namespace record

}  // namespace catalogue
