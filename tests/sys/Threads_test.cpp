#include <gtest/gtest.h>

#include <atomic>

#include "sys/CorvanBasedProcess.h"
#include "sys/CorvanBasedThread.h"
#include "sys/XMutex.h"

namespace {

class CountingThread : public CCorvanBasedThread {
public:
    CountingThread(CXMutex& mutex, int& counter, bool start) : mutex_(mutex), counter_(counter) {
        if (start) StartThread();
    }
    ~CountingThread() override {
        stop_ = true;
        WaitForExit();
    }
    uint32_t Run() override {
        ran_ = true;
        for (int i = 0; i < kRounds; ++i) {
            CXMutexLock hold(mutex_);
            const int seen = counter_;
            ::Sleep(0);
            counter_ = seen + 1;
        }
        return 7;
    }
    static constexpr int kRounds = 2000;
    std::atomic<bool> ran_{false};

private:
    CXMutex& mutex_;
    int& counter_;
    std::atomic<bool> stop_{false};
};

TEST(Threads, MutexSerialisesWorkers) {
    CXMutex mutex;
    int counter = 0;
    {
        CountingThread a(mutex, counter, true);
        CountingThread b(mutex, counter, true);
    }
    EXPECT_EQ(counter, 2 * CountingThread::kRounds);
}

TEST(Threads, ExitCodeIsRunResult) {
    CXMutex mutex;
    int counter = 0;
    CountingThread thread(mutex, counter, true);
    ASSERT_EQ(::WaitForSingleObject(thread.GetThreadHandle(), 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeThread(thread.GetThreadHandle(), &code);
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(thread.IsRunning());
}

TEST(Threads, NeverStartedThreadEndsWithoutRunning) {
    CXMutex mutex;
    int counter = 0;
    HANDLE copy = nullptr;
    {
        CountingThread thread(mutex, counter, false);
        ::DuplicateHandle(::GetCurrentProcess(), thread.GetThreadHandle(), ::GetCurrentProcess(), &copy, 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        EXPECT_FALSE(thread.ran_);
    }
    DWORD code = 0;
    ::GetExitCodeThread(copy, &code);
    ::CloseHandle(copy);
    EXPECT_EQ(code, 0xFFFFFFFFu);
    EXPECT_EQ(counter, 0);
}

TEST(Threads, ProcessRunsHiddenAndReportsItsExitCode) {
    CCorvanBasedProcess process(L"cmd.exe /c exit 3");
    ASSERT_TRUE(process.Start());
    EXPECT_TRUE(process.Start());  // already started
    ASSERT_EQ(::WaitForSingleObject(process.GetProcessHandle(), 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(process.GetProcessHandle(), &code);
    EXPECT_EQ(code, 3u);

    CCorvanBasedProcess missing(L"Z:\\no\\such\\program.exe");
    EXPECT_FALSE(missing.Start());
}

}  // namespace
