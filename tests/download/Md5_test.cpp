#include "download/Md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct DigestCase {
    const char* input;
    const char* digest;
};

// The test suite of RFC 1321, appendix A.5 (the empty string apart: the
// installer answers it with an empty text).
constexpr DigestCase kRfc1321Suite[] = {
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

std::string DigestInPieces(const std::string& input, size_t piece) {
    CMd5Context context;
    for (size_t at = 0; at < input.size(); at += piece) {
        const size_t count = std::min(piece, input.size() - at);
        context.Update(reinterpret_cast<const uint8_t*>(input.data() + at), count);
    }
    return Md5DigestText(context.Final());
}

TEST(Md5, Rfc1321Suite) {
    for (const DigestCase& c : kRfc1321Suite) {
        EXPECT_EQ(Md5OfBytes(c.input, static_cast<std::ptrdiff_t>(std::string(c.input).size())), c.digest) << c.input;
    }
    CMd5Context empty;
    EXPECT_EQ(Md5DigestText(empty.Final()), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Md5, MissingOrEmptyInputGivesEmptyText) {
    EXPECT_EQ(Md5OfBytes(nullptr, 5), "");
    EXPECT_EQ(Md5OfBytes("abc", 0), "");
    EXPECT_EQ(Md5OfBytes("abc", -1), "");
}

// The padding and the carried partial block are where hand-written MD5 goes
// wrong: lengths around 56 and 64 bytes, fed whole or in uneven pieces.
TEST(Md5, PieceSizesAroundBlockEdgesAgree) {
    const size_t lengths[] = {55, 56, 57, 63, 64, 65, 119, 120, 127, 128, 129, 1000};
    const size_t pieces[] = {1, 3, 63, 64, 65};
    for (const size_t length : lengths) {
        std::string input(length, '\0');
        for (size_t i = 0; i < length; ++i)
            input[i] = static_cast<char>(i * 31 + 7);
        const std::string whole = Md5OfBytes(input.data(), static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(whole.size(), 32u);
        for (const size_t piece : pieces)
            EXPECT_EQ(DigestInPieces(input, piece), whole) << length << "/" << piece;
    }
    EXPECT_EQ(Md5OfBytes(std::string(1000, 'a').data(), 1000), "cabe45dcc9ae5b66ba86600cca6b8ba8");
}

TEST(Md5, DigestTextIsLowerCaseHex) {
    const std::string digest = Md5OfBytes("\xff\xfe", 2);
    ASSERT_EQ(digest.size(), 32u);
    EXPECT_EQ(digest.find_first_not_of("0123456789abcdef"), std::string::npos) << digest;
}

}  // namespace
