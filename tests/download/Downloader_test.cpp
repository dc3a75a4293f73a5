#include "download/Downloader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "core/AppInfo.h"
#include "core/CacheConfig.h"
#include "download/Md5.h"
#include "server/PkgInfo.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "sys/TextEncoding.h"
#include "tests/download/LocalCloud.h"
#include "tests/support/ScratchFolder.h"

using cloud::CloudTest;

namespace {

constexpr char kPackageUrl[] = "http://127.0.0.3:18080/pkg/tarvel_setup.exe";
constexpr DWORD kDownloadWaitMs = 90000;

class StubPkgInfo final : public IPkgInfo {
public:
    std::atomic<int32_t> status{kDone};
    std::string versionCode = "3.1.0.0";
    std::vector<std::string> urls{kPackageUrl};
    std::string md5;

    int32_t GetStatus() override { return status; }
    int64_t GetPackageSize() override { return 0; }
    int64_t GetInstallationSize() override { return 0; }
    const char* GetVersionCode() override { return versionCode.empty() ? nullptr : versionCode.c_str(); }
    int32_t GetUrlCount() override { return static_cast<int32_t>(urls.size()); }
    const char* GetUrl(int32_t index) override { return urls.at(static_cast<size_t>(index)).c_str(); }
    const char* GetMd5() override { return md5.empty() ? nullptr : md5.c_str(); }
    void Reset() override {}
};

std::string ReadWholeFile(const std::wstring& path) {
    CFileStream file(CorvanFileOpen(kOpenReadShared, path));
    std::string bytes(static_cast<size_t>(file.GetSize()), '\0');
    if (!bytes.empty()) file.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return bytes;
}

class DownloaderTest : public CloudTest {
protected:
    DownloaderTest() : cache_(std::make_unique<CCacheConfig>(scratch_.Path(L"config.ini"))) {
        env_.pkgInfo = &pkg_;
        env_.logger = &events_;
        env_.cache = cache_.get();
        env_.appInfo = &appInfo_;
        env_.productFolder = scratch_.Path(L"TARVELAPP\\");
        CreateDirectoryPath(env_.productFolder);
    }

    // Starts a downloader and polls it like the driver until it settles.
    int32_t Download(IDownloader& downloader) {
        EXPECT_TRUE(downloader.Start());
        int32_t state = IDownloader::kRunning;
        WaitUntil([&] { return (state = downloader.Poll()) != IDownloader::kRunning; }, kDownloadWaitMs);
        return state;
    }

    std::unique_ptr<IDownloader, void (*)(IDownloader*)> Make() {
        return {CreateDownloader(env_), [](IDownloader* d) { d->Release(); }};
    }

    void AnnounceServedMd5() { pkg_.md5 = Md5OfBytes(package_.data(), static_cast<std::ptrdiff_t>(package_.size())); }

    std::vector<std::string> Results(const char* status) {
        std::vector<std::string> found;
        for (const auto& event : events_.All())
            if (event.name == "pSoftDownloadResult" && event.texts.at("soft_download_status") == status)
                found.push_back(std::to_string(event.ints.at("download_time")));
        return found;
    }

    ScratchFolder scratch_;
    StubPkgInfo pkg_;
    cloud::Events events_;
    CAppInfo appInfo_{L"SOFTWARE\\TarvelTests\\NotInstalled"};
    std::unique_ptr<CCacheConfig> cache_;
    DownloadEnvironment env_;
    std::string package_;
};

}  // namespace

TEST_F(DownloaderTest, DownloadsBothHalvesVerifiesAndCachesThePackage) {
    package_ = cloud::PackageBytes();
    AnnounceServedMd5();
    auto downloader = Make();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);

    EXPECT_EQ(downloader->GetFilePath(), env_.productFolder + L"tarvel_setup.exe");
    EXPECT_TRUE(ReadWholeFile(downloader->GetFilePath()) == package_);
    EXPECT_EQ(downloader->GetProgress(), 100);
    EXPECT_EQ(downloader->GetDownloadUrl(), kPackageUrl);
    auto gets = cloud::Requests("cdn", "GET");
    ASSERT_EQ(gets.size(), 2u);
    const int64_t half = static_cast<int64_t>(package_.size()) / 2;
    std::vector<std::string> ranges{gets[0].range, gets[1].range};
    std::sort(ranges.begin(), ranges.end());
    EXPECT_EQ(ranges[0], "bytes=0-" + std::to_string(half - 1));
    EXPECT_EQ(ranges[1], "bytes=" + std::to_string(half) + "-" + std::to_string(package_.size() - 1));
    EXPECT_EQ(Results("下载成功").size(), 1u);
    EXPECT_EQ(events_.All().front().name, "vSoftDownloadStart");

    const CCacheConfig reread(scratch_.Path(L"config.ini"));
    EXPECT_EQ(WideToUtf8(reread.CachedMd5()), pkg_.md5);
    EXPECT_EQ(reread.CachedPath(), downloader->GetFilePath());
}

TEST_F(DownloaderTest, TheNextRunReusesTheCachedPackageWithoutAskingTheCdn) {
    cloud::Set("package_file=" TARVEL_BINARY_DIR "/tests/core/version_3_6_13_246.exe");
    package_ = cloud::PackageBytes();
    AnnounceServedMd5();
    pkg_.versionCode = "9.9.9.9";
    ASSERT_EQ(Download(*Make()), IDownloader::kReady);

    cloud::Control("reset");
    cache_ = std::make_unique<CCacheConfig>(scratch_.Path(L"config.ini"));
    env_.cache = cache_.get();
    pkg_.versionCode = "3.6.13.246";
    auto again = Make();
    EXPECT_TRUE(again->Start());
    EXPECT_EQ(again->Poll(), IDownloader::kReady);
    EXPECT_EQ(again->GetFilePath(), env_.productFolder + L"tarvel_setup.exe");
    EXPECT_EQ(Results("存在本地文件"), std::vector<std::string>{"-1"});
    EXPECT_TRUE(cloud::Log().empty());
}

TEST_F(DownloaderTest, ACutConnectionStillGivesTheExactFile) {
    cloud::Set("cut_after=300000");
    package_ = cloud::PackageBytes();
    AnnounceServedMd5();
    auto downloader = Make();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);
    EXPECT_TRUE(ReadWholeFile(downloader->GetFilePath()) == package_);
    const auto gets = cloud::Requests("cdn", "GET");
    ASSERT_EQ(gets.size(), 3u);
    auto start = [&](size_t i) { return ParseInt64(std::string_view(gets[i].range).substr(6)); };
    EXPECT_TRUE(start(2) == start(0) + 300000 || start(2) == start(1) + 300000) << gets[2].range;
}

TEST_F(DownloaderTest, AWrongMd5ResetsTheSegmentsAndTheNextStartFetchesEverything) {
    package_ = cloud::PackageBytes();
    pkg_.md5 = Md5OfBytes("not the package", 15);
    auto downloader = Make();
    ASSERT_EQ(Download(*downloader), IDownloader::kFailed);
    EXPECT_EQ(downloader->GetProgress(), 0);

    cloud::Control("reset");
    AnnounceServedMd5();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);
    EXPECT_TRUE(ReadWholeFile(downloader->GetFilePath()) == package_);
    const auto gets = cloud::Requests("cdn");
    ASSERT_EQ(gets.size(), 2u) << "no new URL query, both segments from their beginnings";
    std::vector<std::string> starts{gets[0].range.substr(0, gets[0].range.find('-')),
                                    gets[1].range.substr(0, gets[1].range.find('-'))};
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, (std::vector<std::string>{"bytes=0", "bytes=" + std::to_string(package_.size() / 2)}));
}

TEST_F(DownloaderTest, ARedirectLoopFailsThatUrl) {
    pkg_.urls = {"http://127.0.0.3:18080/loop"};
    auto downloader = Make();
    EXPECT_EQ(Download(*downloader), IDownloader::kFailed);
    EXPECT_EQ(events_.ErrorStatuses(), (std::vector<std::string>{"获取头信息失败", "参数错误"}));
    EXPECT_TRUE(cloud::Requests("cdn", "GET").empty());
    EXPECT_EQ(downloader->GetDownloadUrl(),
              "https://127.0.0.3:18080/application/soft_package/pc/81974195/software/install.exe");
}

TEST_F(DownloaderTest, ARedirectChainEndsAtTheStoredUrl) {
    pkg_.urls = {"http://127.0.0.3:18080/redirect/3"};
    auto downloader = Make();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);
    EXPECT_EQ(downloader->GetDownloadUrl(), kPackageUrl);
    EXPECT_EQ(cloud::Requests("cdn", "HEAD").size(), 4u);
}

TEST_F(DownloaderTest, ServerFileNamesStayInsideTheProductFolder) {
    for (const char* name : {"..\\..\\evil.exe", "C:\\Windows\\evil.exe", "../evil.exe"}) {
        cloud::Control("reset");
        cloud::Set(std::string("package_size=1000&disposition=") + name);
        auto downloader = Make();
        ASSERT_EQ(Download(*downloader), IDownloader::kReady) << name;
        EXPECT_EQ(downloader->GetFilePath(), env_.productFolder + L"evil.exe") << name;
    }
    EXPECT_FALSE(FileExists(scratch_.Path(L"evil.exe")));
}

TEST_F(DownloaderTest, PendingPackageInformationSendsTheQueryToTheCdnFallback) {
    pkg_.status = IPkgInfo::kRunning;
    env_.probeHosts = {"127.0.0.4"};
    env_.probePort = 18080;
    auto downloader = Make();
    const DWORD start = ::GetTickCount();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);
    EXPECT_GE(::GetTickCount() - start, 10000u);
    const auto heads = cloud::Requests("cdn", "HEAD");
    ASSERT_EQ(heads.size(), 1u);
    EXPECT_EQ(heads[0].path, "/application/soft_package/pc/81974195/software/install.exe");
    EXPECT_FALSE(cloud::Requests("support").empty());
}

TEST_F(DownloaderTest, RefusedFirstConnectionsAreRetried) {
    cloud::Set("refuse=3");
    package_ = cloud::PackageBytes();
    AnnounceServedMd5();
    auto downloader = Make();
    ASSERT_EQ(Download(*downloader), IDownloader::kReady);
    EXPECT_TRUE(ReadWholeFile(downloader->GetFilePath()) == package_);
}
