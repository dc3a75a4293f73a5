#include "download/DownloadThread.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "sys/CorvanError.h"
#include "tests/download/LocalCloud.h"

using cloud::CloudTest;

namespace {

constexpr char kPackageUrl[] = "http://127.0.0.3:18080/pkg/tarvel_setup.exe";

// Keeps every write as the worker hands it over.
class MemorySink final : public ISegmentSink {
public:
    bool WriteSegmentData(const char* bytes, uint32_t count, int32_t, int64_t offset) override {
        CXMutexLock hold(lock_);
        writes[offset] = std::string(bytes, count);
        return !failWrites;
    }
    std::string Joined() {
        CXMutexLock hold(lock_);
        std::string all;
        for (const auto& write : writes)
            all += write.second;
        return all;
    }
    std::map<int64_t, std::string> writes;
    bool failWrites = false;

private:
    CXMutex lock_;
};

class DownloadThreadTest : public CloudTest {
protected:
    int32_t RunWorker(const std::string& url, int32_t attempts, int64_t next, int64_t last) {
        CDownloadThread worker(url, 2000, attempts, next, last, sink_, 0, &events_);
        ::WaitForSingleObject(worker.GetThreadHandle(), 120000);
        return worker.GetState();
    }

    MemorySink sink_;
    cloud::Events events_;
};

}  // namespace

TEST_F(DownloadThreadTest, AFullBufferIsOneWriteAtTheSegmentStart) {
    cloud::Set("package_size=3000000");
    EXPECT_EQ(RunWorker(kPackageUrl, 20, 0, 1048575), CDownloadThread::kComplete);
    ASSERT_EQ(sink_.writes.size(), 1u);
    EXPECT_EQ(sink_.writes.begin()->first, 0);
    EXPECT_EQ(sink_.writes.begin()->second, cloud::PackageBytes().substr(0, 1048576));
}

TEST_F(DownloadThreadTest, ACutConnectionResumesAtTheFirstMissingByte) {
    cloud::Set("cut_after=300000");
    EXPECT_EQ(RunWorker(kPackageUrl, 20, 1000, 2000000), CDownloadThread::kComplete);
    const auto gets = cloud::Requests("cdn", "GET");
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[0].range, "bytes=1000-2000000");
    EXPECT_EQ(gets[1].range, "bytes=301000-2000000");
    EXPECT_EQ(sink_.writes.begin()->first, 1000);
    EXPECT_EQ(sink_.writes.begin()->second.size(), 300000u);
    EXPECT_EQ(sink_.Joined(), cloud::PackageBytes().substr(1000, 1999001));
}

TEST_F(DownloadThreadTest, AStallPastTheTimeOutIsResumed) {
    cloud::Set("stall_after=100000&stall_seconds=4");
    EXPECT_EQ(RunWorker(kPackageUrl, 20, 0, 500000), CDownloadThread::kComplete);
    EXPECT_EQ(cloud::Requests("cdn", "GET").back().range, "bytes=100000-500000");
    EXPECT_EQ(sink_.Joined(), cloud::PackageBytes().substr(0, 500001));
}

TEST_F(DownloadThreadTest, ARedirectRetargetsTheSameRange) {
    EXPECT_EQ(RunWorker("http://127.0.0.3:18080/redirect/2", 20, 10, 99), CDownloadThread::kComplete);
    const auto gets = cloud::Requests("cdn", "GET");
    ASSERT_EQ(gets.size(), 3u);
    for (const auto& get : gets)
        EXPECT_EQ(get.range, "bytes=10-99");
    EXPECT_EQ(gets[2].path, "/pkg/tarvel_setup.exe");
    EXPECT_EQ(gets[2].host, "127.0.0.3");
    EXPECT_EQ(sink_.Joined(), cloud::PackageBytes().substr(10, 90));
}

TEST_F(DownloadThreadTest, AnErrorStatusNeverBecomesPackageData) {
    cloud::Set("get_status=404");
    EXPECT_EQ(RunWorker(kPackageUrl, 2, 0, 99), CDownloadThread::kFailed);
    EXPECT_TRUE(sink_.writes.empty());
    EXPECT_EQ(events_.ErrorStatuses(), std::vector<std::string>{"重试超过最大次数"});
}

TEST_F(DownloadThreadTest, ElevenRefusedConnectionsEndTheWorker) {
    // Nothing listens on this port of the CDN address.
    EXPECT_EQ(RunWorker("http://127.0.0.3:18099/pkg/a.exe", 20, 0, 99), CDownloadThread::kFailed);
    EXPECT_EQ(events_.ErrorStatuses(), std::vector<std::string>{"连接错误"});
}

TEST_F(DownloadThreadTest, AFailedWriteEndsTheWorker) {
    sink_.failWrites = true;
    EXPECT_EQ(RunWorker(kPackageUrl, 20, 0, 99), CDownloadThread::kFailed);
    EXPECT_EQ(events_.ErrorStatuses(), std::vector<std::string>{"写文件出错"});
}

TEST_F(DownloadThreadTest, AnUnusableUrlFailsTheConstructor) {
    EXPECT_THROW(CDownloadThread("http://nopath", 2000, 20, 0, 9, sink_, 0, &events_), CorvanError);
    EXPECT_EQ(events_.ErrorStatuses(), std::vector<std::string>{"初始化失败"});
}
