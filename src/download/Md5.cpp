#include "download/Md5.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr size_t kFileReadBufferBytes = 1 << 20;
constexpr uint32_t kInitialState[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};
constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

inline uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

inline uint32_t LoadLittleEndian(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

inline void StoreLittleEndian(uint32_t value, uint8_t* bytes) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

// One round of sixteen steps; the round number fixes the mixing function and
// the order in which the block's words are taken.
template <int R>
inline void Round(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* words) {
    // Unrolled at every optimisation level, the size-optimised release build
    // included: the shifts and word indexes become constants (a third faster).
#pragma GCC unroll 16
    for (int step = 0; step < 16; ++step) {
        const int i = 16 * R + step;
        uint32_t mixed;
        int word;
        if constexpr (R == 0) {
            mixed = d ^ (b & (c ^ d));
            word = step;
        } else if constexpr (R == 1) {
            mixed = c ^ (d & (b ^ c));
            word = (5 * step + 1) % 16;
        } else if constexpr (R == 2) {
            mixed = b ^ c ^ d;
            word = (3 * step + 5) % 16;
        } else {
            mixed = c ^ (b | ~d);
            word = (7 * step) % 16;
        }
        const uint32_t next = b + RotateLeft(a + mixed + kSines[i] + words[word], kShifts[R][step % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
UniqueFile OpenForReading(const std::wstring& path) { return UniqueFile(_wfopen(path.c_str(), L"rb")); }
#else
// Outside Windows the file system takes UTF-8 names; wchar_t holds code points.
std::string WideToUtf8Path(const std::wstring& path) {
    std::string out;
    for (const wchar_t wide : path) {
        const uint32_t c = static_cast<uint32_t>(wide);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

UniqueFile OpenForReading(const std::wstring& path) {
    return UniqueFile(std::fopen(WideToUtf8Path(path).c_str(), "rb"));
}
#endif

}  // namespace

CMd5Context::CMd5Context() : bitCount_{0, 0}, input_{}, digest_{} { std::memcpy(state_, kInitialState, sizeof state_); }

void CMd5Context::Update(const uint8_t* bytes, size_t count) {
    size_t used = (bitCount_[0] >> 3) & 0x3F;
    const uint64_t bits = (uint64_t(bitCount_[1]) << 32 | bitCount_[0]) + (uint64_t(count) << 3);
    bitCount_[0] = static_cast<uint32_t>(bits);
    bitCount_[1] = static_cast<uint32_t>(bits >> 32);

    if (used != 0) {
        const size_t take = count < 64 - used ? count : 64 - used;
        std::memcpy(input_ + used, bytes, take);
        bytes += take;
        count -= take;
        used += take;
        if (used < 64) return;
        Transform(input_);
    }
    for (; count >= 64; bytes += 64, count -= 64)
        Transform(bytes);
    if (count != 0) std::memcpy(input_, bytes, count);
}

const std::array<uint8_t, 16>& CMd5Context::Final() {
    uint8_t length[8];
    StoreLittleEndian(bitCount_[0], length);
    StoreLittleEndian(bitCount_[1], length + 4);
    // One 0x80 byte, then zeros up to 56 bytes modulo 64, then the bit length.
    static constexpr uint8_t kPadding[64] = {0x80};
    const size_t used = (bitCount_[0] >> 3) & 0x3F;
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    Update(length, sizeof length);
    for (int i = 0; i < 4; ++i)
        StoreLittleEndian(state_[i], digest_.data() + 4 * i);
    return digest_;
}

void CMd5Context::Transform(const uint8_t* block) {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = LoadLittleEndian(block + 4 * i);

    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    Round<0>(a, b, c, d, words);
    Round<1>(a, b, c, d, words);
    Round<2>(a, b, c, d, words);
    Round<3>(a, b, c, d, words);
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

std::string Md5DigestText(const std::array<uint8_t, 16>& digest) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(32);
    for (const uint8_t byte : digest) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
    return text;
}

std::string Md5OfBytes(const char* bytes, std::ptrdiff_t length) {
    if (bytes == nullptr || length <= 0) return {};
    CMd5Context context;
    context.Update(reinterpret_cast<const uint8_t*>(bytes), static_cast<size_t>(length));
    return Md5DigestText(context.Final());
}

std::string Md5OfFile(const std::wstring& path) {
    UniqueFile file = OpenForReading(path);
    if (!file) return {};
    // The digest takes 4 KiB blocks; the file is read in 1 MiB pieces, since
    // each read is a system call, and under Wine a costly one.
    std::setvbuf(file.get(), nullptr, _IOFBF, kFileReadBufferBytes);
    // Read to the end rather than trusting a size taken up front: a 32-bit
    // size would turn files of 2 GiB and more into garbage or nothing.
    CMd5Context context;
    uint8_t block[kMd5FileBlockSize];
    uint64_t total = 0;
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        context.Update(block, got);
        total += got;
    }
    if (std::ferror(file.get()) || total == 0) return {};
    return Md5DigestText(context.Final());
}
