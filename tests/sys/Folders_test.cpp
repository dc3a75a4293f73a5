#include "sys/Folders.h"

#include <gtest/gtest.h>

#include "sys/FileStream.h"
#include "sys/FileUtil.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(Folders, DataRootIsUnderApplicationData) {
    const std::wstring root = GetDataRootFolder();
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.substr(root.size() - 12), L"DraymontPkg\\");
    EXPECT_TRUE(DirectoryExists(root));
    EXPECT_EQ(GetProductDataFolder(), root + L"TARVELAPP\\");
}

TEST(Folders, BestVolumeIsAWritableRootWithSpace) {
    const std::wstring best = GetBestVolume();
    ASSERT_EQ(best.size(), 3u) << Narrow(best);
    EXPECT_EQ(best.substr(1), L":\\");
    EXPECT_GT(GetFreeSpace(best), 0u);
    // The test prefix's only local drive is C: (R:, the repository, is a
    // network drive and Z: is gone), so the installer's choice stays in the build tree.
    EXPECT_EQ(best, L"C:\\");
    EXPECT_FALSE(DirectoryExists(best + L"DraymontPkg"));  // the probe folder is gone again
}

TEST(Folders, FreeSpaceOfUnusablePathsIsZero) {
    EXPECT_EQ(GetFreeSpace(L"\\\\server\\share\\x"), 0u);
    EXPECT_EQ(GetFreeSpace(L""), 0u);
    EXPECT_EQ(GetFreeSpace(L"Q:\\nothing"), 0u);
}

TEST(Folders, TempCacheFolderLivesAsLongAsItsOwner) {
    std::wstring folder;
    {
        TempCacheFolderLifetime lifetime;
        folder = GetTempCacheFolder();
        ASSERT_FALSE(folder.empty());
        std::cout << "temporary cache folder: " << Narrow(folder) << "\n";
        EXPECT_EQ(folder.substr(0, 3), GetBestVolume());
        EXPECT_EQ(folder.substr(3, 12), L"DraymontPkg_");
        EXPECT_EQ(folder.back(), L'\\');
        EXPECT_TRUE(DirectoryExists(folder));
        CreateDirectoryPath(folder + L"images");
        CFileStream file(CorvanFileCreate(folder + L"images\\a.png"));
    }
    EXPECT_TRUE(GetTempCacheFolder().empty());
    EXPECT_FALSE(DirectoryExists(folder));
}

TEST(Folders, TwoLifetimesInOneSecondNeverShareAFolder) {
    TempCacheFolderLifetime first;
    const std::wstring firstFolder = GetTempCacheFolder();
    {
        TempCacheFolderLifetime second;
        EXPECT_NE(GetTempCacheFolder(), firstFolder);
    }
    EXPECT_TRUE(DirectoryExists(firstFolder));
    DeleteTree(firstFolder);
}

}  // namespace
