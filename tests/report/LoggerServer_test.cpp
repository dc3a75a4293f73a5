#include "report/LoggerServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "report/EventCatalogue.h"
#include "report/QpxApi.h"
#include "report/QpxLoader.h"
#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "sys/TextEncoding.h"
#include "tests/support/ScratchFolder.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// An in-process SDK that writes every call it receives into a transcript.
struct FakeSdk {
    std::mutex mutex;
    std::vector<std::string> calls;
    bool failCreate = false;
    int frees = 0;
    int creates = 0;
    int crashHooks = 0;
    const char* mid = "0123456789abcdef0123456789abcdef";

    void Add(std::string call) {
        std::lock_guard<std::mutex> guard(mutex);
        calls.push_back(std::move(call));
    }
    std::vector<std::string> Take() {
        std::lock_guard<std::mutex> guard(mutex);
        return std::exchange(calls, {});
    }
};
FakeSdk* g_sdk = nullptr;

// The repository is drive R: under Wine.
std::wstring BuildTreePath(const std::string& relative) {
    std::string path = std::string(TARVEL_BINARY_DIR).substr(std::string(TARVEL_SOURCE_DIR).size()) + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return L"R:" + Utf8ToWide(path);
}

struct FakeRecord {
    std::vector<std::string> lines;
};

std::unique_ptr<QpxCoreTable> FakeCore() {
    auto core = std::make_unique<QpxCoreTable>();
    core->handle = 7;
    core->qpxCreate = [](uint32_t* handle) {
        ++g_sdk->creates;
        *handle = 8;
        return 0;
    };
    core->qpxSetApplyKey = [](const char*, const char*) { return 0; };
    core->qpxSetAppInfo = [](const char*, int, int) { return 0; };
    core->qpxSetPubCertificate = [](const char*) { return 0; };
    core->qpxSetPriCcertificate = [](const char*) { return 0; };
    core->qpxSetHostInfo = [](const char*, int) { return 0; };
    core->qpxSetSensorUrl = [](const char*) { return 0; };
    core->qpxEnableCrashReport = [](QpxCrashCallback, void*) {
        ++g_sdk->crashHooks;
        return 0;
    };
    core->qpxFree = [](uint32_t) {
        ++g_sdk->frees;
        return 0;
    };
    return core;
}

std::unique_ptr<QpxRecordTable> FakeRecords() {
    auto table = std::make_unique<QpxRecordTable>();
    table->qpxCLTCreate = [](uint32_t, int type, void** record) {
        if (g_sdk->failCreate) return 1;
        auto* fake = new FakeRecord;
        fake->lines.push_back("type " + std::to_string(type));
        *record = fake;
        return 0;
    };
    table->qpxCLTSensorWriteEvent = [](void* record, const char* name, int32_t) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::string("event ") + name);
        return 0;
    };
    table->qpxCLTSensorWriteIntProperties = [](void* record, const char* key, int32_t value) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::string("int ") + key + "=" + std::to_string(value));
        return 0;
    };
    table->qpxCLTSensorWriteBoolProperties = [](void* record, const char* key, uint8_t value) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::string("bool ") + key + "=" + std::to_string(value));
        return 0;
    };
    table->qpxCLTSensorWriteStringProperties = [](void* record, const char* key, const char* value) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::string("text ") + key + "=" + value);
        return 0;
    };
    table->qpxCLTWriteInt = [](void* record, int field, int32_t value) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::to_string(field) + "=" + std::to_string(value));
        return 0;
    };
    table->qpxCLTWriteData = [](void* record, int field, const void* bytes, int32_t length) {
        static_cast<FakeRecord*>(record)->lines.push_back(std::to_string(field) + ":" +
                                                          std::string(static_cast<const char*>(bytes), length));
        return 0;
    };
    table->qpxCLTCommit = [](void* record) {
        std::string joined;
        for (const std::string& line : static_cast<FakeRecord*>(record)->lines)
            joined += (joined.empty() ? "" : "|") + line;
        g_sdk->Add(joined);
        return 0;
    };
    table->qpxCLTFree = [](void* record) {
        delete static_cast<FakeRecord*>(record);
        return 0;
    };
    return table;
}

std::unique_ptr<QpxDataTable> FakeData() {
    auto table = std::make_unique<QpxDataTable>();
    table->qpxBuildHttpData = [](int, const void* bytes, int32_t length, int32_t* outLength, int, const char*) {
        auto* copy = static_cast<uint8_t*>(std::malloc(length + 1));
        std::memcpy(copy, bytes, length);
        copy[length] = '!';
        *outLength = length + 1;
        return copy;
    };
    table->qpxDataFree = [](void* buffer) {
        g_sdk->Add("data free");
        std::free(buffer);
    };
    table->qpxMid = []() { return g_sdk->mid; };
    table->qpxOpenUrl = [](const char* url) {
        g_sdk->Add(std::string("open ") + url);
        return 0;
    };
    return table;
}

class LoggerServerTest : public ::testing::Test {
protected:
    void SetUp() override { g_sdk = &sdk_; }
    void TearDown() override { g_sdk = nullptr; }

    std::unique_ptr<CLoggerServer> Complete() {
        return std::make_unique<CLoggerServer>(L"Qpx.dll", FakeCore(), FakeRecords(), FakeData());
    }

    FakeSdk sdk_;
};

TEST_F(LoggerServerTest, EventCarriesIntsThenBoolsThenTextsEachByKeyWithFirstValueKept) {
    auto logger = Complete();
    logger->ClearProperties();
    logger->SetStringProperty("b_text", "second");
    logger->SetBoolProperty("z_bool", true);
    logger->SetIntProperty("m_int", 5);
    logger->SetStringProperty("a_text", "安装器");
    logger->SetIntProperty("B_int", -1);
    logger->SetBoolProperty("a_bool", false);
    logger->SetStringProperty("b_text", "ignored");
    logger->SetIntProperty("m_int", 6);
    EXPECT_TRUE(logger->SendEvent("pSoftInstall"));
    EXPECT_THAT(sdk_.Take(), ElementsAre("type 6|event pSoftInstall|int B_int=-1|int m_int=5|bool a_bool=0|bool "
                                         "z_bool=1|text a_text=安装器|text b_text=second"));
}

TEST_F(LoggerServerTest, SendingKeepsThePropertiesUntilTheyAreCleared) {
    auto logger = Complete();
    logger->ClearProperties();
    logger->SetIntProperty("n", 1);
    logger->SendEvent("first");
    logger->SetIntProperty("m", 2);
    logger->SendEvent("second");
    logger->ClearProperties();
    logger->SendEvent("third");
    EXPECT_THAT(sdk_.Take(),
                ElementsAre("type 6|event first|int n=1", "type 6|event second|int m=2|int n=1", "type 6|event third"));
}

TEST_F(LoggerServerTest, SequenceNumbersCombineSecondsWithAWrappingCounter) {
    struct Case {
        int64_t seconds;
        int32_t counter;
        int32_t expected;
    } cases[] = {
        {0, 0, 0},
        {1, 1, 101},
        {1765400000, 0, 540000000},
        {1765400000, 99, 540000099},
        {1765400000, 100, 540000000},
        {1765400000, 101, 540000001},
        {9999999, 99, 999999999},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CLoggerServer::SequenceNumber(c.seconds, c.counter), c.expected) << c.seconds << " " << c.counter;
    }
}

TEST_F(LoggerServerTest, NumberedRecordsWriteTheirFieldsAndLeaveEmptyTextsOut) {
    ScratchFolder scratch;
    const std::wstring file = scratch.Path(L"dump.dmp");
    ASSERT_TRUE(CFileStream(CorvanFileCreate(file)).Write("x", 1) == 1);
    const std::string ansiFile = WideToAnsi(file);
    const std::string ansiFolder = WideToAnsi(scratch.Folder());
    const std::string missing = WideToAnsi(scratch.Path(L"missing.dmp"));

    auto logger = Complete();
    EXPECT_TRUE(logger->WriteStartRecord(1, "", "", ""));
    EXPECT_TRUE(logger->WriteClickRecord("0001", "0002", ""));
    EXPECT_TRUE(logger->WriteStateRecord(4, "0001", "0001", "TarvelSetup", "", {}));
    EXPECT_TRUE(logger->WriteStateRecord(1, "0001", "0001", "", "", {"", missing, ansiFolder, ansiFile}));
    EXPECT_THAT(sdk_.Take(),
                ElementsAre("type 1|1=1", "type 2|10:0001|11:0002", "type 4|50=4|51:0001|52:0001|53:TarvelSetup",
                            "type 4|50=1|51:0001|52:0001|55:" + ansiFile));
}

TEST_F(LoggerServerTest, AfterReleaseSdkEverythingIsDroppedAndTheHandleIsFreedOnce) {
    auto logger = Complete();
    EXPECT_TRUE(logger->SendEvent("vJoinPlan"));
    EXPECT_TRUE(logger->ReleaseSdk());
    EXPECT_TRUE(logger->ReleaseSdk());
    EXPECT_FALSE(logger->SendEvent("vSoftQuit"));
    EXPECT_FALSE(logger->WriteStateRecord(4, "0001", "0002", "", "", {}));
    EXPECT_THAT(sdk_.Take(), ElementsAre("type 6|event vJoinPlan"));
    EXPECT_EQ(sdk_.frees, 1);
    logger.reset();
    EXPECT_EQ(sdk_.frees, 1);
}

TEST_F(LoggerServerTest, TheHandleStillOpenAtTheEndIsFreed) {
    Complete().reset();
    EXPECT_EQ(sdk_.frees, 1);
}

TEST_F(LoggerServerTest, ReinitializeOpensAReleasedHandleAgainAndAnswersFalse) {
    auto logger = Complete();
    EXPECT_FALSE(logger->Reinitialize());
    EXPECT_EQ(sdk_.creates, 0);
    logger->ReleaseSdk();
    EXPECT_FALSE(logger->Reinitialize());
    EXPECT_EQ(sdk_.creates, 1);
    EXPECT_EQ(sdk_.crashHooks, 1) << "the whole initialisation runs again, the crash hook included";
    EXPECT_TRUE(logger->SendEvent("again"));
}

TEST_F(LoggerServerTest, AFailedRecordCreationDropsTheEvent) {
    auto logger = Complete();
    sdk_.failCreate = true;
    EXPECT_FALSE(logger->SendEvent("lost"));
    EXPECT_FALSE(logger->WriteClickRecord("0001", "0001", ""));
    EXPECT_THAT(sdk_.Take(), IsEmpty());
}

TEST_F(LoggerServerTest, DataServicesCopyWholeBuffersAndFreeThem) {
    auto logger = Complete();
    EXPECT_EQ(logger->BuildHttpData(1, std::string("a\0b", 3)), std::string("a\0b!", 4));
    EXPECT_EQ(logger->DecryptData("x"), "");
    EXPECT_EQ(logger->GetMid(), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(logger->GetMidEx(1), "");
    sdk_.mid = nullptr;
    EXPECT_EQ(logger->GetMid(), "");
    EXPECT_TRUE(logger->OpenUrl("http://127.0.0.7/x"));
    EXPECT_FALSE(logger->OpenUrl(""));
    EXPECT_THAT(sdk_.Take(), ElementsAre("data free", "open http://127.0.0.7/x"));
}

TEST_F(LoggerServerTest, RecordLessAndDegradedFormsDropEventsButKeepWhatTheyHave) {
    CLoggerServer recordLess(L"Qpx.dll", FakeCore(), nullptr, FakeData());
    EXPECT_FALSE(recordLess.SendEvent("e"));
    EXPECT_FALSE(recordLess.WriteStartRecord(1, "", "", ""));
    EXPECT_EQ(recordLess.GetMid(), "0123456789abcdef0123456789abcdef");

    CLoggerServer degraded(L"", nullptr, nullptr, nullptr);
    degraded.ClearProperties();
    degraded.SetStringProperty("k", "v");
    EXPECT_FALSE(degraded.SendEvent("e"));
    EXPECT_FALSE(degraded.WriteClickRecord("0001", "0001", ""));
    EXPECT_EQ(degraded.GetMid(), "");
    EXPECT_EQ(degraded.BuildHttpData(1, "x"), "");
    EXPECT_FALSE(degraded.OpenUrl("http://127.0.0.7/"));
    EXPECT_FALSE(degraded.Reinitialize());
    EXPECT_TRUE(degraded.ReleaseSdk());
    EXPECT_THAT(sdk_.Take(), IsEmpty());
}

// Threads that compose events at the same time each send exactly their own
// properties.
TEST_F(LoggerServerTest, ConcurrentClearSetSendSequencesDoNotMix) {
    auto logger = Complete();
    constexpr int kThreads = 4;
    constexpr int kEvents = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::string mine = "t" + std::to_string(t);
            for (int i = 0; i < kEvents; ++i) {
                logger->ClearProperties();
                logger->SetStringProperty("who", mine.c_str());
                logger->SetIntProperty("i", i);
                logger->SendEvent(mine.c_str());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const std::vector<std::string> calls = sdk_.Take();
    ASSERT_EQ(calls.size(), static_cast<size_t>(kThreads * kEvents));
    std::vector<int> next(kThreads, 0);
    for (const std::string& call : calls) {
        const int t = call[14] - '0';  // "type 6|event t<n>|..."
        const std::string mine = "t" + std::to_string(t);
        EXPECT_EQ(call, "type 6|event " + mine + "|int i=" + std::to_string(next[t]++) + "|text who=" + mine);
    }
}

TEST(QpxLoader, AnExecutableWithoutTheArchiveGivesTheDegradedForm) {
    std::wstring path;
    try {
        LoadQpxLibrary(path);
        FAIL() << "loaded without a resource";
    } catch (const CorvanError& error) {
        EXPECT_STREQ(error.what(), "QPX not found resource");
    }
    CLoggerServer logger;
    EXPECT_FALSE(logger.HasCoreTable());
    EXPECT_FALSE(logger.SendEvent(catalogue::event::kSoftInstall));
    EXPECT_EQ(logger.GetMid(), "");
}

void AddZipEntry(zipFile zip, const char* name, const std::string& bytes) {
    ASSERT_EQ(
        zipOpenNewFileInZip(zip, name, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION),
        ZIP_OK);
    if (!bytes.empty()) zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
    zipCloseFileInZip(zip);
}

TEST(QpxLoader, UnpacksOnlyNonEmptyEntriesWithPlainNames) {
    ScratchFolder scratch;
    const std::wstring archive = scratch.Path(L"bad.zip");
    const std::wstring folder = scratch.Path(L"out\\");
    ASSERT_TRUE(CreateDirectoryPath(folder));
    zipFile zip = zipOpen64(WideToAnsi(archive).c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    AddZipEntry(zip, "kept.dll", "bytes");
    AddZipEntry(zip, "empty.dll", "");
    AddZipEntry(zip, "..\\escaped.dll", "bytes");
    AddZipEntry(zip, "../escaped2.dll", "bytes");
    AddZipEntry(zip, "sub/inner.dll", "bytes");
    zipClose(zip, nullptr);

    ASSERT_TRUE(UnpackArchive(archive, folder));
    EXPECT_EQ(QueryFileSize(folder + L"kept.dll"), 5u);
    EXPECT_FALSE(FileExists(folder + L"empty.dll"));
    EXPECT_FALSE(FileExists(scratch.Path(L"escaped.dll")));
    EXPECT_FALSE(FileExists(scratch.Path(L"escaped2.dll")));
    EXPECT_FALSE(DirectoryExists(folder + L"sub"));
}

TEST(QpxLoader, UnpacksTheBuiltArchiveReplacingOldFilesAndLoadsTheSdk) {
    ScratchFolder scratch;
    const std::wstring folder = scratch.Folder();
    CFileStream(CorvanFileCreate(folder + L"Qpx.dll")).Write("stale", 5);
    ASSERT_TRUE(UnpackArchive(BuildTreePath("/qpx/Qpx.zip"), folder));
    EXPECT_GT(QueryFileSize(folder + L"Qpx.dll"), 5u);
    EXPECT_GT(QueryFileSize(folder + L"TolmarUID.dll"), 0u);
    EXPECT_FALSE(UnpackArchive(folder + L"missing.zip", folder));

    HMODULE sdk = ::LoadLibraryW((folder + L"Qpx.dll").c_str());
    ASSERT_NE(sdk, nullptr);
    EXPECT_NO_THROW(BuildQpxCoreTable(sdk));
    EXPECT_NO_THROW(BuildQpxRecordTable(sdk));
    auto data = BuildQpxDataTable(sdk);
    ASSERT_NE(data->qpxMid, nullptr);
    const std::string mid = data->qpxMid();
    EXPECT_EQ(mid.size(), 32u);
    EXPECT_EQ(mid, data->qpxMidEx(1));

    HMODULE tolmar = ::LoadLibraryW((folder + L"TolmarUID.dll").c_str());
    ASSERT_NE(tolmar, nullptr);
    auto getUid = reinterpret_cast<GetTolmarUIDFn>(reinterpret_cast<void*>(::GetProcAddress(tolmar, "GetTolmarUID")));
    ASSERT_NE(getUid, nullptr);
    char first[33] = {}, second[33] = {}, small[9] = {};
    getUid(first, 33);
    getUid(second, 33);
    getUid(small, 9);
    EXPECT_EQ(strlen(first), 32u);
    EXPECT_STREQ(first, second);
    EXPECT_EQ(std::string(small), std::string(first, 8));
    EXPECT_NE(std::string(first), mid);
    ::FreeLibrary(tolmar);
    ::FreeLibrary(sdk);
}

}  // namespace
