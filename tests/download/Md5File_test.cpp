#include "download/Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Runs natively and under Wine: files live in the build tree, named in the
// form each side's file functions take.
std::string ScratchName(const std::string& leaf) { return std::string(TARVEL_BINARY_DIR) + "/tests/download/" + leaf; }

#ifdef _WIN32
std::wstring WidePath(const std::string& name) {
    // The build tree is inside the repository, which Wine shows as drive R:.
    const std::string source = TARVEL_SOURCE_DIR;
    std::wstring path = L"R:";
    for (const char c : name.substr(source.size()))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}
#else
std::wstring WidePath(const std::string& name) { return std::wstring(name.begin(), name.end()); }
#endif

std::string WriteFile(const std::string& leaf, const std::string& content) {
    const std::string name = ScratchName(leaf);
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr) return {};
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return name;
}

std::string Content(size_t size) {
    std::string content(size, '\0');
    uint32_t x = 2463534242u;
    for (char& c : content) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = static_cast<char>(x);
    }
    return content;
}

#ifndef _WIN32
std::string Md5sum(const std::string& name) {
    std::FILE* pipe = ::popen(("md5sum '" + name + "'").c_str(), "r");
    if (pipe == nullptr) return {};
    char line[33] = {};
    const size_t got = std::fread(line, 1, 32, pipe);
    ::pclose(pipe);
    return std::string(line, got);
}
#endif

// Files are read in 4096-byte blocks: sizes on, just below and just above
// block multiples must give the digest of the whole content.
TEST(Md5File, SizesAroundTheReadBlockMatchTheBytesDigest) {
    const size_t sizes[] = {1, 63, 64, 4095, 4096, 4097, 8191, 8192, 8193, 3 * 4096 + 56, 65537};
    for (const size_t size : sizes) {
        const std::string content = Content(size);
        const std::string name = WriteFile("md5-edge-" + std::to_string(size), content);
        ASSERT_FALSE(name.empty());
        const std::string digest = Md5OfFile(WidePath(name));
        EXPECT_EQ(digest, Md5OfBytes(content.data(), static_cast<std::ptrdiff_t>(size))) << size;
#ifndef _WIN32
        EXPECT_EQ(digest, Md5sum(name)) << size;
#endif
        std::remove(name.c_str());
    }
}

TEST(Md5File, MissingAndEmptyFilesGiveEmptyText) {
    EXPECT_EQ(Md5OfFile(WidePath(ScratchName("md5-no-such-file"))), "");
    const std::string empty = WriteFile("md5-empty", "");
    ASSERT_FALSE(empty.empty());
    EXPECT_EQ(Md5OfFile(WidePath(empty)), "");
    std::remove(empty.c_str());
    EXPECT_EQ(Md5OfFile(L""), "");
}

}  // namespace
