#include "ui/ZipExtract.h"

#include <windows.h>

// iowin32.h relies on the declarations of unzip.h.
#include <minizip/unzip.h>

#include <minizip/iowin32.h>

#include <vector>

#include "sys/CorvanError.h"
#include "sys/FileStream.h"
#include "sys/TextEncoding.h"

namespace {

constexpr size_t kEntryNameBytes = 260;
constexpr unsigned kChunkBytes = 64 * 1024;
constexpr unsigned long kUtf8NameFlag = 1u << 11;

class ZipReader {
public:
    explicit ZipReader(const std::wstring& path) {
        zlib_filefunc64_def files{};
        fill_win32_filefunc64W(&files);
        file_ = unzOpen2_64(path.c_str(), &files);
    }
    ~ZipReader() {
        if (file_ != nullptr) unzClose(file_);
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    unzFile Get() const { return file_; }

private:
    unzFile file_ = nullptr;
};

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    return name.find_first_of(L"/\\:") == std::wstring::npos;
}

void CopyCurrentEntry(unzFile archive, const std::wstring& target) {
    if (unzOpenCurrentFile(archive) != UNZ_OK) throw CorvanError("Open zip entry failed");
    int read = 0;
    try {
        CFileStream out(CorvanFileCreate(target));
        std::vector<char> chunk(kChunkBytes);
        while ((read = unzReadCurrentFile(archive, chunk.data(), kChunkBytes)) > 0) {
            if (out.Write(chunk.data(), static_cast<uint32_t>(read)) != read) read = -1;
            if (read < 0) break;
        }
    } catch (const CorvanError&) {
        read = -1;
    }
    // Also checks the entry's CRC once all of it has been read.
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0 || closed != UNZ_OK) throw CorvanError("Extract zip entry failed");
}

void ExtractCurrentEntry(unzFile archive, const std::wstring& folder) {
    char rawName[kEntryNameBytes] = {};
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, rawName, sizeof rawName - 1, nullptr, 0, nullptr, 0) != UNZ_OK) {
        throw CorvanError("Read zip entry failed");
    }
    if (info.size_filename >= sizeof rawName) throw CorvanError("Zip entry name too long");
    const std::wstring name = (info.flag & kUtf8NameFlag) != 0 ? Utf8ToWide(rawName) : AnsiToWide(rawName);
    if (!IsPlainFileName(name)) throw CorvanError("Zip entry is not a plain file");
    CopyCurrentEntry(archive, folder + name);
}

}  // namespace

int ExtractZipArchive(const std::wstring& archivePath, const std::wstring& folder) {
    ZipReader reader(archivePath);
    if (reader.Get() == nullptr) return -1;
    int status = unzGoToFirstFile(reader.Get());
    if (status != UNZ_OK) return -1;
    try {
        for (; status == UNZ_OK; status = unzGoToNextFile(reader.Get()))
            ExtractCurrentEntry(reader.Get(), folder);
    } catch (const CorvanError&) {
        return -1;
    }
    return status == UNZ_END_OF_LIST_OF_FILE ? 0 : -1;
}
