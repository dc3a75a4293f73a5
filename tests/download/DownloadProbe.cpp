// An executable that carries the SDK archive like the installer and drives the
// download engine the way the progress page does: the package information from
// the gateway, one downloader polled until it settles, the real logger. Started
// by download_e2e.py (events at the local collector) and by the download
// benchmark.
//   download_probe <folder>   downloads into <folder>, recording in its config.ini
// Prints "ready <total ms> <fetched ms> <path>": from Start to the verified file
// (download and MD5 check), and from Start to the last byte written; or
// "failed <state>". Exit code 0 when the package is ready, 1 when it failed,
// 2 on bad arguments.
#include <windows.h>
#include <winsock2.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/CacheConfig.h"
#include "core/SharedSettings.h"
#include "download/Downloader.h"
#include "report/LoggerServer.h"
#include "server/PkgInfo.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "sys/TextEncoding.h"
#include "tests/support/Stopwatch.h"

namespace {

TempCacheFolderLifetime g_tempCacheFolder;

constexpr DWORD kPollMs = 5;
constexpr DWORD kPackageInfoWaitMs = 30000;
constexpr long long kDownloadWaitMs = 600000;

bool WaitForPackageInfo() {
    const DWORD start = ::GetTickCount();
    while (GetPkgInfo()->GetStatus() == IPkgInfo::kRunning) {
        if (::GetTickCount() - start > kPackageInfoWaitMs) return false;
        ::Sleep(kPollMs);
    }
    return GetPkgInfo()->GetStatus() == IPkgInfo::kDone;
}

int Download(const std::wstring& folder) {
    if (!WaitForPackageInfo()) {
        std::printf("failed package-information\n");
        return 1;
    }
    CCacheConfig cache(folder + kConfigFileName);
    DownloadEnvironment env;
    env.cache = &cache;
    env.productFolder = folder;
    std::unique_ptr<IDownloader, void (*)(IDownloader*)> downloader(CreateDownloader(env),
                                                                    [](IDownloader* d) { d->Release(); });
    if (!downloader) return 1;

    const Stopwatch clock;
    if (!downloader->Start()) return 1;
    long long fetchedMs = -1;
    int32_t state = IDownloader::kRunning;
    while (state == IDownloader::kRunning && clock.Milliseconds() < kDownloadWaitMs) {
        ::Sleep(kPollMs);
        // Before Poll: the Poll that sees the last byte also runs the MD5 check.
        if (fetchedMs < 0 && downloader->GetProgress() == 100) fetchedMs = clock.Milliseconds();
        state = downloader->Poll();
    }
    const long long totalMs = clock.Milliseconds();

    if (state != IDownloader::kReady) {
        std::printf("failed %d\n", static_cast<int>(state));
        return 1;
    }
    if (fetchedMs < 0) fetchedMs = totalMs;
    std::printf("ready %lld %lld %s\n", totalMs, fetchedMs, WideToUtf8(downloader->GetFilePath()).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    const std::wstring folder = AddBackslash(argv[1]);
    if (!CreateDirectoryPath(folder)) return 2;
    // The order of the installer's start-up: settings, logger, then Winsock
    // for the gateway query.
    SharedSettingsScope settings;
    GetLoggerServer();
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) return 1;
    const int status = Download(folder);
    ::WSACleanup();
    std::fflush(stdout);
    return status;
}
