// MD5 digests (RFC 1321) of byte strings and files, always handed out as 32
// lower-case hexadecimal digits. Platform-free: no Windows header here. A
// context is used by one thread at a time; the functions keep no state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CMd5Context {
public:
    CMd5Context();
    void Update(const uint8_t* bytes, size_t count);
    // Closes the digest; the context must not be updated afterwards.
    const std::array<uint8_t, 16>& Final();

private:
    void Transform(const uint8_t* block);

    uint32_t bitCount_[2];  // low word first
    uint32_t state_[4];
    uint8_t input_[64];
    std::array<uint8_t, 16> digest_;
};

constexpr size_t kMd5FileBlockSize = 4096;

std::string Md5DigestText(const std::array<uint8_t, 16>& digest);

// Empty when bytes is null or length is not greater than 0, never the digest
// of empty input.
std::string Md5OfBytes(const char* bytes, std::ptrdiff_t length);

// Empty when the file cannot be opened, is empty or cannot be read to its end.
std::string Md5OfFile(const std::wstring& path);
