// The skin: the installer's pictures by file name. The manager makes sure the
// pictures exist as files in the temporary cache folder's "images\" (from an
// earlier manager of this run, a "Resource.zip" left there, or resource 103
// written out and extracted), indexes them sorted by name, and decodes each
// on its first request. It keeps GDI+ running for its whole life, so every
// picture and every widget drawing must end before it is released.
//
// Threads: created and used on the user-interface thread only; no lock.
#pragma once

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ui/GdiplusObjects.h"
#include "ui/SkinImage.h"

class ILoggerServer;

class IResourceMgr {
public:
    // null, with "vResourceError", for a name not in the skin.
    virtual CSkinImage* GetImage(const wchar_t* name) = 0;
    virtual void Release() = 0;

protected:
    virtual ~IResourceMgr() = default;
};

// The pictures of a complete skin, in the index's order.
inline constexpr const wchar_t* kSkinFileNames[] = {
    L"custom_btn_back_hover.png",
    L"custom_btn_back_normal.png",
    L"custom_btn_back_press.png",
    L"error_icon.png",
    L"global_btn_close_hover.png",
    L"global_btn_close_normal.png",
    L"inquire_icon.png",
    L"install_banner.png",
    L"logo.png",
    L"main_bg.png",
    L"main_checkbox_deselect.png",
    L"main_checkbox_select.png",
    L"main_word_custom_hover.png",
    L"main_word_custom_normal.png",
    L"main_word_custom_press.png",
};

struct SkinEntry {
    std::wstring path;
    std::wstring name;  // compared exactly, as UTF-16 code units
    std::unique_ptr<CSkinImage> image;
};

class CResourceManager final : public IResourceMgr {
public:
    static constexpr size_t kSkinFileCount = std::size(kSkinFileNames);
    static constexpr int kArchiveResourceId = 103;

    // Reports to logger (the process's event logger when null; without one
    // events are dropped). Throws "load resource error" when no picture
    // could be made available, "make dir failed" when the images folder
    // cannot be created.
    explicit CResourceManager(ILoggerServer* logger = nullptr, std::wstring cacheFolder = DefaultCacheFolder());

    CSkinImage* GetImage(const wchar_t* name) override;
    void Release() override { delete this; }

    const std::vector<std::unique_ptr<SkinEntry>>& Entries() const { return entries_; }
    static std::wstring DefaultCacheFolder();

private:
    ~CResourceManager() override;

    bool IndexImagesFolder();
    bool ExtractArchiveFile();
    bool WriteArchiveFromResource();
    void SendStatus(const char* status);
    void SendError(const char* status);
    std::wstring ImagesFolder() const;
    std::wstring ArchivePath() const;

    // First in, last out: every decoded picture dies while GDI+ still runs.
    GdiplusSession gdiplus_;
    ILoggerServer* logger_;
    std::wstring cacheFolder_;
    std::vector<std::unique_ptr<SkinEntry>> entries_;
};

// null when the manager cannot be built; the caller reports it.
IResourceMgr* CreateResourceManager();
