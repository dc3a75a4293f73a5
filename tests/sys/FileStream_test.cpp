#include "sys/FileStream.h"

#include <gtest/gtest.h>

#include <string>

#include "sys/CorvanError.h"
#include "sys/FileUtil.h"
#include "tests/support/ScratchFolder.h"

namespace {

class FileStreamTest : public ::testing::Test {
protected:
    ScratchFolder scratch_;
    std::wstring path_ = scratch_.Path(L"stream.bin");
};

TEST_F(FileStreamTest, ReadAtEndOfFileSetsEofUntilSeek) {
    CFileStream stream(CorvanFileCreate(path_));
    ASSERT_EQ(stream.Write("hello", 5), 5);
    ASSERT_EQ(stream.SeekTo(0), 0);
    char buffer[16] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 5);
    EXPECT_FALSE(stream.IsEof());
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), -1);
    EXPECT_TRUE(stream.IsEof());
    EXPECT_EQ(stream.Seek(0, 1), 5);
    EXPECT_FALSE(stream.IsEof());
    EXPECT_EQ(stream.Read(nullptr, 4), 0);
    EXPECT_EQ(stream.Read(buffer, 0), 0);
    EXPECT_EQ(stream.Write(nullptr, 4), 0);
}

TEST_F(FileStreamTest, SizeQueriesKeepPositionAndSetSizeRewinds) {
    CFileStream stream(CorvanFileCreate(path_));
    ASSERT_EQ(stream.Write("0123456789", 10), 10);
    ASSERT_EQ(stream.SeekTo(3), 3);
    EXPECT_EQ(stream.GetSize(), 10);
    EXPECT_EQ(stream.Tell(), 3);

    // Extending past 4 GiB checks that both halves of the 64-bit offset travel.
    const int64_t large = (int64_t{1} << 32) + 7;
    ASSERT_TRUE(stream.SetSize(large));
    EXPECT_EQ(stream.Tell(), 0);
    EXPECT_EQ(stream.GetSize(), large);
    EXPECT_EQ(stream.Seek(-7, 2), int64_t{1} << 32);

    ASSERT_TRUE(stream.SetSize(0));
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.Tell(), 0);
    EXPECT_EQ(QueryFileSize(path_), 0u);
}

TEST_F(FileStreamTest, OpenModes) {
    { CFileStream created(CorvanFileCreate(path_)); }
    EXPECT_EQ(CorvanFileOpen(0x03, path_), nullptr);  // access 3 is invalid
    EXPECT_EQ(CorvanFileOpen(0x50, path_), nullptr);  // sharing 5 is invalid

    // The read-shared mode lets a writer in while the file is open.
    CFileStream reader(CorvanFileOpen(kOpenReadShared, path_));
    CFileStream writer(CorvanFileOpen(0x42, path_));
    EXPECT_EQ(writer.Write("ab", 2), 2);
    char buffer[4] = {};
    EXPECT_EQ(reader.Write("x", 1), -1);  // opened for reading only
    EXPECT_EQ(reader.Read(buffer, 4), 2);

    // Exclusive sharing refuses a second opener.
    EXPECT_THROW(CorvanFileOpen(0x00, path_), CorvanError);
}

TEST_F(FileStreamTest, OpenErrorsCarryTheirTexts) {
    const auto messageOf = [](auto open) -> std::string {
        try {
            open();
        } catch (const CorvanError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(messageOf([] { CorvanFileOpen(kOpenCreate, L""); }), "filename can't be empty");
    EXPECT_EQ(messageOf([&] { CorvanFileOpen(kOpenReadShared, scratch_.Path(L"missing")); }), "CorvanFileOpen failed");
    EXPECT_EQ(messageOf([&] { CorvanFileCreate(scratch_.Path(L"no\\such\\folder\\f")); }), "CorvanFileCreate failed");
}

TEST_F(FileStreamTest, FileTimesAreUnixSeconds) {
    FILETIME epoch{};
    const int64_t units = 116444736000000000LL;
    epoch.dwLowDateTime = static_cast<DWORD>(units & 0xFFFFFFFF);
    epoch.dwHighDateTime = static_cast<DWORD>(units >> 32);
    EXPECT_EQ(FileTimeToUnixSeconds(epoch), 0);

    CFileStream stream(CorvanFileCreate(path_));
    FILETIME when{};
    const int64_t at = units + 1733900000LL * 10000000LL + 9999999;  // rounds down
    when.dwLowDateTime = static_cast<DWORD>(at & 0xFFFFFFFF);
    when.dwHighDateTime = static_cast<DWORD>(at >> 32);
    ASSERT_TRUE(::SetFileTime(stream.NativeHandle(), &when, &when, &when));
    int64_t created = 0, accessed = 0, written = 0;
    ASSERT_TRUE(stream.GetFileTimes(created, accessed, written));
    EXPECT_EQ(created, 1733900000);
    EXPECT_EQ(written, created);
}

TEST_F(FileStreamTest, ReleaseFreesHeapStreams) {
    ICorvanStream* stream = new CFileStream(CorvanFileCreate(path_));
    stream->Release();
    // The handle is closed: the file can be deleted.
    EXPECT_TRUE(RemoveFile(path_));
}

}  // namespace
