#include "ui/ResourceManager.h"

#include <windows.h>

#include <new>

#include "report/EventCatalogue.h"
#include "report/LoggerServer.h"
#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/FileUtil.h"
#include "sys/Folders.h"
#include "ui/ZipExtract.h"

namespace {

constexpr wchar_t kArchiveName[] = L"Resource.zip";
constexpr wchar_t kImagesFolderName[] = L"images\\";
constexpr wchar_t kResourceType[] = L"BinarySystem";

// The file-name part of path as the system resolves it.
std::wstring ResolvedFileName(const std::wstring& path) {
    wchar_t* filePart = nullptr;
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return GetFileNamePart(path);
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), &filePart);
    if (written == 0 || written >= needed || filePart == nullptr) return GetFileNamePart(path);
    return filePart;
}

// Ascending code-unit order; quicksort with the first element of each range
// as the pivot. The smaller side is recursed into, so the depth stays
// logarithmic even on an already sorted folder listing.
void SortByName(std::vector<std::unique_ptr<SkinEntry>>& entries, size_t lo, size_t hi) {
    while (hi - lo > 1) {
        const std::wstring pivot = entries[lo]->name;
        size_t store = lo;
        for (size_t i = lo + 1; i < hi; ++i) {
            if (entries[i]->name < pivot) std::swap(entries[++store], entries[i]);
        }
        std::swap(entries[lo], entries[store]);
        if (store - lo < hi - store - 1) {
            SortByName(entries, lo, store);
            lo = store + 1;
        } else {
            SortByName(entries, store + 1, hi);
            hi = store;
        }
    }
}

}  // namespace

CResourceManager::CResourceManager(ILoggerServer* logger, std::wstring cacheFolder)
    : logger_(logger != nullptr ? logger : GetLoggerServer()), cacheFolder_(std::move(cacheFolder)) {
    if (logger_ != nullptr) {
        logger_->ClearProperties();
        logger_->SendEvent(catalogue::event::kResourceMgrStart);
    }
    if (IndexImagesFolder() || ExtractArchiveFile() || WriteArchiveFromResource()) {
        SendStatus(catalogue::value::kResourceCreated);
        return;
    }
    SendStatus(catalogue::value::kResourceCreateFailed);
    throw CorvanError("load resource error");
}

CResourceManager::~CResourceManager() = default;

std::wstring CResourceManager::DefaultCacheFolder() { return GetTempCacheFolder(); }

std::wstring CResourceManager::ImagesFolder() const { return cacheFolder_ + kImagesFolderName; }

std::wstring CResourceManager::ArchivePath() const { return cacheFolder_ + kArchiveName; }

void CResourceManager::SendStatus(const char* status) {
    if (logger_ == nullptr) return;
    logger_->ClearProperties();
    logger_->SetStringProperty(catalogue::prop::kResourceStatus, status);
    logger_->SendEvent(catalogue::event::kResourceStatus);
}

void CResourceManager::SendError(const char* status) {
    if (logger_ == nullptr) return;
    logger_->ClearProperties();
    logger_->SetStringProperty(catalogue::prop::kErrorStatus, status);
    logger_->SendEvent(catalogue::event::kResourceError);
}

bool CResourceManager::IndexImagesFolder() {
    const std::wstring folder = ImagesFolder();
    if (!DirectoryExists(folder)) {
        if (!CreateDirectoryPath(folder)) throw CorvanError("make dir failed");
        return false;
    }
    entries_.clear();
    for (auto listing = CDirectoryListing::Open(folder, L"*"); listing;) {
        if (!listing->IsDirectory()) {
            auto entry = std::make_unique<SkinEntry>();
            entry->path = listing->FullPath();
            entry->name = ResolvedFileName(entry->path);
            entries_.push_back(std::move(entry));
        }
        if (!listing->Next()) break;
    }
    if (entries_.size() != kSkinFileCount) SendError(catalogue::value::kResourceMissing);
    if (entries_.empty()) {
        SendError(catalogue::value::kResourceMissing);
        return false;
    }
    SortByName(entries_, 0, entries_.size());
    return true;
}

bool CResourceManager::ExtractArchiveFile() {
    const std::wstring archive = ArchivePath();
    if (!FileExists(archive) || QueryFileSize(archive) == 0) return false;
    if (ExtractZipArchive(archive, ImagesFolder()) != 0) {
        SendError(catalogue::value::kResourceUnpackFailed);
        return false;
    }
    return IndexImagesFolder();
}

bool CResourceManager::WriteArchiveFromResource() {
    if (cacheFolder_.empty()) SendError(catalogue::value::kCachePathFailed);
    const HMODULE self = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(kArchiveResourceId), kResourceType);
    const DWORD size = found != nullptr ? ::SizeofResource(self, found) : 0;
    const HGLOBAL loaded = size != 0 ? ::LoadResource(self, found) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        SendError(catalogue::value::kResourceUnpackFailed);
        return false;
    }
    try {
        CFileStream file(CorvanFileCreate(ArchivePath()));
        if (file.Write(bytes, size) < 1) SendError(catalogue::value::kResourceUnpackFailed);
    } catch (const CorvanError&) {
        SendError(catalogue::value::kResourceUnpackFailed);
    }
    ::FreeResource(loaded);
    return ExtractArchiveFile();
}

CSkinImage* CResourceManager::GetImage(const wchar_t* name) {
    if (name == nullptr) return nullptr;
    const std::wstring wanted(name);
    size_t lo = 0, hi = entries_.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        SkinEntry& entry = *entries_[mid];
        if (entry.name == wanted) {
            if (!entry.image) {
                try {
                    entry.image.reset(new CSkinImage(entry.path));
                } catch (const std::bad_alloc&) {
                    SendError(catalogue::value::kResourceMissing);
                    return nullptr;
                }
            }
            return entry.image.get();
        }
        if (entry.name < wanted) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    SendError(catalogue::value::kResourceMissing);
    return nullptr;
}

IResourceMgr* CreateResourceManager() {
    try {
        return new CResourceManager();
    } catch (...) {
        return nullptr;
    }
}
