#include "sys/FileStream.h"

#include <iterator>

#include "sys/CorvanError.h"

namespace {

constexpr int64_t kFileTimeOf1970 = 116444736000000000LL;
constexpr int64_t kFileTimeUnitsPerSecond = 10000000LL;

constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
constexpr DWORD kSharing[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};

}  // namespace

int64_t FileTimeToUnixSeconds(const FILETIME& time) noexcept {
    const int64_t units = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (units - kFileTimeOf1970) / kFileTimeUnitsPerSecond;
}

HANDLE CorvanFileCreate(const std::wstring& path) {
    if (path.empty()) throw CorvanError("filename can't be empty");
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw CorvanError("CorvanFileCreate failed");
    return file;
}

HANDLE CorvanFileOpen(uint16_t mode, const std::wstring& path) {
    if (mode == kOpenCreate) return CorvanFileCreate(path);
    const unsigned access = mode & 0x3;
    const unsigned sharing = (mode >> 4) & 0xF;
    if (access >= std::size(kAccess) || sharing >= std::size(kSharing)) return nullptr;
    HANDLE file = ::CreateFileW(path.c_str(), kAccess[access], kSharing[sharing], nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw CorvanError("CorvanFileOpen failed");
    return file;
}

int64_t CFileStream::Seek(int64_t offset, int origin) {
    eof_ = false;
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low =
        ::SetFilePointer(file_.Get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, static_cast<DWORD>(origin));
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return -1;
    return (static_cast<int64_t>(high) << 32) | low;
}

int64_t CFileStream::Tell() { return Seek(0, FILE_CURRENT); }

int64_t CFileStream::SeekTo(int64_t position) { return Seek(position, FILE_BEGIN); }

int64_t CFileStream::GetSize() {
    const int64_t position = Tell();
    if (position == -1) return -1;
    const int64_t size = Seek(0, FILE_END);
    SeekTo(position);
    return size;
}

bool CFileStream::SetSize(int64_t size) {
    if (SeekTo(size) == -1) return false;
    const bool ended = ::SetEndOfFile(file_.Get()) != FALSE;
    SeekTo(0);
    eof_ = false;
    return ended;
}

int32_t CFileStream::Read(void* buffer, uint32_t count) {
    if (buffer == nullptr || count == 0) return 0;
    DWORD read = 0;
    if (!::ReadFile(file_.Get(), buffer, count, &read, nullptr)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) {
            eof_ = true;
            return -1;
        }
        return static_cast<int32_t>(read);
    }
    if (read == 0) {
        eof_ = true;
        return -1;
    }
    return static_cast<int32_t>(read);
}

int32_t CFileStream::Write(const void* buffer, uint32_t count) {
    eof_ = false;
    if (buffer == nullptr || count == 0) return 0;
    DWORD written = 0;
    if (!::WriteFile(file_.Get(), buffer, count, &written, nullptr)) return -1;
    return static_cast<int32_t>(written);
}

bool CFileStream::GetFileTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) {
    FILETIME created{}, accessed{}, written{};
    if (!::GetFileTime(file_.Get(), &created, &accessed, &written)) return false;
    creation = FileTimeToUnixSeconds(created);
    lastAccess = FileTimeToUnixSeconds(accessed);
    lastWrite = FileTimeToUnixSeconds(written);
    return true;
}
