// File streams over native file handles. Positions, sizes and offsets are
// signed 64-bit; counts are unsigned 32-bit. A stream is used by one thread at
// a time.
#pragma once

#include <cstdint>
#include <string>

#include "sys/Win32Handle.h"

class ICorvanStream {
public:
    virtual int64_t Tell() = 0;
    virtual int64_t SeekTo(int64_t position) = 0;
    // The size, or -1; the position is left where it was.
    virtual int64_t GetSize() = 0;
    // Cuts or extends the file at size, then moves to position 0.
    virtual bool SetSize(int64_t size) = 0;
    // Bytes read; -1 at end of file; 0 for no buffer, no count or a read error.
    virtual int32_t Read(void* buffer, uint32_t count) = 0;
    // Bytes written; -1 on failure; 0 for no buffer or no count.
    virtual int32_t Write(const void* buffer, uint32_t count) = 0;
    // origin: 0 beginning, 1 current position, 2 end. New position or -1.
    virtual int64_t Seek(int64_t offset, int origin) = 0;
    virtual bool IsEof() = 0;
    virtual void Release() = 0;
    virtual ~ICorvanStream() = default;
    // Seconds since 1970-01-01 UTC.
    virtual bool GetFileTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) = 0;
};

class CFileStream : public ICorvanStream {
public:
    explicit CFileStream(HANDLE file) noexcept : file_(file) {}

    int64_t Tell() override;
    int64_t SeekTo(int64_t position) override;
    int64_t GetSize() override;
    bool SetSize(int64_t size) override;
    int32_t Read(void* buffer, uint32_t count) override;
    int32_t Write(const void* buffer, uint32_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    bool IsEof() override { return eof_; }
    void Release() override { delete this; }
    bool GetFileTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) override;

    HANDLE NativeHandle() const noexcept { return file_.Get(); }

private:
    FileHandle file_;
    bool eof_ = false;
};

// Open modes: bits 0-1 access (0 read, 1 write, 2 both), bits 4-7 sharing
// (0/1 exclusive, 2 read, 3 write, 4 both); 0xFFFF creates the file.
constexpr uint16_t kOpenReadShared = 0x40;
constexpr uint16_t kOpenCreate = 0xFFFF;

// Returns the handle of an existing file; null for an invalid mode; throws
// "CorvanFileOpen failed" when the file cannot be opened.
HANDLE CorvanFileOpen(uint16_t mode, const std::wstring& path);
// Creates (or empties) a file for reading and writing; throws on failure.
HANDLE CorvanFileCreate(const std::wstring& path);

// Whole seconds since 1970-01-01 UTC of a FILETIME value.
int64_t FileTimeToUnixSeconds(const FILETIME& time) noexcept;
