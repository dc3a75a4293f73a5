// The skin manager against real folders: each test gives it a fresh cache
// folder, and the test executable carries the build's skin as resource 103.
#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <minizip/iowin32.h>

#include <string>
#include <vector>

#include "report/EventCatalogue.h"
#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ResourceManager.h"

namespace {

using namespace catalogue;

struct ManagerDeleter {
    void operator()(CResourceManager* manager) const { manager->Release(); }
};
using Manager = std::unique_ptr<CResourceManager, ManagerDeleter>;

// A zip of (name, bytes) entries, written with minizip.
void WriteZip(const std::wstring& path, const std::vector<std::pair<std::string, std::string>>& entries) {
    zlib_filefunc64_def files{};
    fill_win32_filefunc64W(&files);
    zipFile zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : entries) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 0),
                  ZIP_OK);
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

class SkinTest : public ::testing::Test {
protected:
    Manager Make() { return Manager(new CResourceManager(&logger_, cache_.Folder())); }
    std::wstring Images() const { return cache_.Path(L"images\\"); }
    std::vector<std::string> Errors() const {
        std::vector<std::string> found;
        for (const auto& e : uitest::Named(logger_, event::kResourceError))
            found.push_back(e.texts.at(prop::kErrorStatus));
        return found;
    }

    ScratchFolder cache_;
    RecordingLogger logger_;
};

TEST_F(SkinTest, NormalStartExtractsTheResourceAndReportsSuccess) {
    Manager skin = Make();
    ASSERT_EQ(skin->Entries().size(), 15u);
    EXPECT_TRUE(FileExists(cache_.Path(L"Resource.zip")));
    for (const wchar_t* name : kSkinFileNames) {
        EXPECT_TRUE(FileExists(Images() + name)) << WideToUtf8(name);
        CSkinImage* picture = skin->GetImage(name);
        ASSERT_NE(picture, nullptr) << WideToUtf8(name);
        EXPECT_GT(picture->Width(), 0u) << WideToUtf8(name);
    }
    for (size_t i = 1; i < skin->Entries().size(); ++i) {
        EXPECT_LT(skin->Entries()[i - 1]->name, skin->Entries()[i]->name);
    }
    ASSERT_FALSE(logger_.events.empty());
    EXPECT_EQ(logger_.events.front().name, event::kResourceMgrStart);
    const auto status = uitest::Named(logger_, event::kResourceStatus);
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].texts.at(prop::kResourceStatus), value::kResourceCreated);
    // Creating the empty images folder is the normal path, not an error.
    EXPECT_TRUE(Errors().empty());

    // The install banner is the 2:1 picture the progress page expects.
    CSkinImage* banner = skin->GetImage(L"install_banner.png");
    EXPECT_EQ(banner->Width(), 2 * banner->Height());
}

TEST_F(SkinTest, LookupIsExactAndLoadsOnce) {
    Manager skin = Make();
    logger_.events.clear();
    CSkinImage* first = skin->GetImage(L"main_bg.png");
    EXPECT_EQ(skin->GetImage(L"main_bg.png"), first);
    EXPECT_EQ(skin->GetImage(nullptr), nullptr);
    EXPECT_TRUE(logger_.events.empty());
    EXPECT_EQ(skin->GetImage(L"Main_bg.png"), nullptr);
    EXPECT_EQ(skin->GetImage(L"zzz.png"), nullptr);
    EXPECT_EQ(skin->GetImage(L""), nullptr);
    EXPECT_EQ(Errors(), std::vector<std::string>(3, value::kResourceMissing));
}

TEST_F(SkinTest, ExtractedFolderIsIndexedWithoutExtractingAgain) {
    Make();
    ASSERT_TRUE(RemoveFile(cache_.Path(L"Resource.zip")));
    CreateDirectoryPath(Images() + L"nested\\");
    logger_.events.clear();
    Manager second = Make();
    EXPECT_EQ(second->Entries().size(), 15u);
    EXPECT_FALSE(FileExists(cache_.Path(L"Resource.zip")));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(SkinTest, FourteenPicturesReportOnceAndStillServe) {
    Make();
    ASSERT_TRUE(RemoveFile(Images() + L"logo.png"));
    logger_.events.clear();
    Manager skin = Make();
    EXPECT_EQ(skin->Entries().size(), 14u);
    EXPECT_EQ(Errors(), std::vector<std::string>{value::kResourceMissing});
    for (const wchar_t* name : kSkinFileNames) {
        if (std::wstring(name) == L"logo.png") continue;
        CSkinImage* picture = skin->GetImage(name);
        ASSERT_NE(picture, nullptr) << WideToUtf8(name);
        EXPECT_GT(picture->Width(), 0u) << WideToUtf8(name);
    }
    EXPECT_EQ(uitest::Named(logger_, event::kResourceStatus).at(0).texts.at(prop::kResourceStatus),
              value::kResourceCreated);
}

TEST_F(SkinTest, EmptyImagesFolderFallsBackToTheResource) {
    ASSERT_TRUE(CreateDirectoryPath(Images()));
    Manager skin = Make();
    EXPECT_EQ(skin->Entries().size(), 15u);
    // Fewer than 15 and none at all: both reported.
    EXPECT_EQ(Errors(), std::vector<std::string>(2, value::kResourceMissing));
}

// A left-over archive whose entry would land outside the images folder is
// refused; the manager then writes its own archive over it.
TEST_F(SkinTest, ArchiveEntriesCannotEscapeTheImagesFolder) {
    WriteZip(cache_.Path(L"Resource.zip"), {{"a.png", "x"}, {"../escaped.png", "x"}});
    Manager skin = Make();
    EXPECT_FALSE(FileExists(cache_.Path(L"escaped.png")));
    // What the refused archive wrote before its bad entry stays: 16 pictures.
    EXPECT_EQ(Errors(), (std::vector<std::string>{value::kResourceUnpackFailed, value::kResourceMissing}));
    EXPECT_EQ(skin->Entries().size(), 16u);
    EXPECT_NE(skin->GetImage(L"main_bg.png"), nullptr);
}

TEST_F(SkinTest, LeftOverArchiveIsExtracted) {
    std::string bytes;
    {
        CFileStream in(CorvanFileOpen(kOpenReadShared, uitest::BuildTreePath("/generated/skin/error_icon.png")));
        bytes.resize(static_cast<size_t>(in.GetSize()));
        in.Read(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    WriteZip(cache_.Path(L"Resource.zip"), {{"error_icon.png", bytes}});
    Manager skin = Make();
    // Only the archive found was used: one picture, reported as incomplete.
    ASSERT_EQ(skin->Entries().size(), 1u);
    EXPECT_EQ(skin->GetImage(L"error_icon.png")->Width(), 40u);
    EXPECT_EQ(Errors(), std::vector<std::string>{value::kResourceMissing});
}

TEST_F(SkinTest, UncreatableImagesFolderFailsConstruction) {
    { CFileStream blocker(CorvanFileCreate(cache_.Path(L"file"))); }
    try {
        Manager skin(new CResourceManager(&logger_, cache_.Path(L"file\\")));
        FAIL() << "constructed";
    } catch (const CorvanError& e) {
        EXPECT_STREQ(e.what(), "make dir failed");
    }
}

TEST(SkinFactory, BuildsFromTheProcessCacheFolder) {
    TempCacheFolderLifetime cacheFolder;
    IResourceMgr* skin = CreateResourceManager();
    ASSERT_NE(skin, nullptr);
    EXPECT_NE(skin->GetImage(L"main_bg.png"), nullptr);
    skin->Release();
}

}  // namespace
