#include "sys/FileUtil.h"

#include <gtest/gtest.h>

#include <set>

#include "sys/FileStream.h"
#include "tests/support/ScratchFolder.h"

namespace {

void WriteFile(const std::wstring& path, const char* text) {
    CFileStream stream(CorvanFileCreate(path));
    stream.Write(text, static_cast<uint32_t>(strlen(text)));
}

TEST(FileUtil, PathPieces) {
    EXPECT_EQ(AddBackslash(L"C:\\Apps"), L"C:\\Apps\\");
    EXPECT_EQ(AddBackslash(L"C:\\Apps/"), L"C:\\Apps/");
    EXPECT_EQ(AddBackslash(L""), L"");
    EXPECT_EQ(GetExtension(L"C:\\dir.old\\file"), L"");
    EXPECT_EQ(GetExtension(L"setup.tar.gz"), L".gz");
    EXPECT_EQ(GetExtension(L"C:/a.b/c"), L"");
    EXPECT_EQ(GetDirectoryPart(L"C:\\a\\b\\file.txt"), L"C:\\a\\b\\");
    EXPECT_EQ(GetFileNamePart(L"C:\\a\\b\\file.txt"), L"file.txt");
    EXPECT_EQ(GetFileNamePart(L"C:\\a\\b\\"), L"");
}

TEST(FileUtil, ValidFolderPaths) {
    struct Case {
        const wchar_t* path;
        bool valid;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Demo", true},
        {L"C:\\Demo\\", true},
        {L"C:", true},
        {L"d:\\x", true},
        {L"C:\\a\\\\b", false},
        {L"1:\\a", false},
        {L"C:\\a\\b?", false},
        {L"CC:\\a", false},
        {L"C\\a", false},
        {L"", false},
        {L"C:\\a:b", false},
        {L"C:\\a/b", false},
        {L":C\\a", false},
        {L"C:\\a<b>", false},
        {L"C:\\a|b", false},
        {L"C:\\\"a\"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidFolderPath(c.path), c.valid) << std::string(c.path, c.path + wcslen(c.path));
    }
}

TEST(FileUtil, CreateListAndDeleteTree) {
    ScratchFolder scratch;
    const std::wstring root = scratch.Path(L"a");
    EXPECT_FALSE(DirectoryExists(root));
    ASSERT_TRUE(CreateDirectoryPath(root + L"\\b/c"));
    EXPECT_TRUE(DirectoryExists(root + L"\\b\\c\\"));
    EXPECT_FALSE(FileExists(root + L"\\b"));

    WriteFile(root + L"\\top.txt", "12345");
    WriteFile(root + L"\\b\\c\\deep.bin", "x");
    EXPECT_TRUE(FileExists(root + L"\\top.txt"));
    EXPECT_FALSE(DirectoryExists(root + L"\\top.txt"));
    EXPECT_EQ(QueryFileSize(root + L"\\top.txt"), 5u);
    EXPECT_EQ(QueryFileSize(root + L"\\missing"), 0u);

    std::set<std::wstring> names;
    auto listing = CDirectoryListing::Open(root, L"*");
    ASSERT_TRUE(listing);
    do {
        names.insert(listing->Name() + (listing->IsDirectory() ? L"/" : L""));
        EXPECT_EQ(listing->FullPath(), root + L"\\" + listing->Name());
    } while (listing->Next());
    EXPECT_EQ(names, (std::set<std::wstring>{L"b/", L"top.txt"}));
    EXPECT_FALSE(CDirectoryListing::Open(root + L"\\b\\c", L"*.txt"));

    EXPECT_TRUE(DeleteTree(root));
    EXPECT_FALSE(DirectoryExists(root));
    EXPECT_FALSE(DeleteTree(L""));
    EXPECT_TRUE(DeleteTree(scratch.Path(L"never-existed")));
}

TEST(FileUtil, CreateDirectoryPathStopsAtAnInvalidName) {
    ScratchFolder scratch;
    EXPECT_FALSE(CreateDirectoryPath(scratch.Path(L"ok\\bad?name\\x")));
    EXPECT_TRUE(DirectoryExists(scratch.Path(L"ok")));
}

}  // namespace
