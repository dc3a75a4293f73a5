#include "sys/TextEncoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, Utf8RoundTripsChineseAndAstralText) {
    const std::wstring wide = L"软件退出 \U0001F600 ok";
    const std::string utf8 = WideToUtf8(wide);
    EXPECT_EQ(utf8, "\xE8\xBD\xAF\xE4\xBB\xB6\xE9\x80\x80\xE5\x87\xBA \xF0\x9F\x98\x80 ok");
    EXPECT_EQ(Utf8ToWide(utf8), wide);
}

TEST(TextEncoding, StopsAtFirstNulAndEmptyStaysEmpty) {
    EXPECT_EQ(WideToUtf8(std::wstring(L"ab\0cd", 5)), "ab");
    EXPECT_EQ(Utf8ToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(TextEncoding, AnsiRoundTripsAscii) {
    EXPECT_EQ(WideToAnsi(L"C:\\Program Files"), "C:\\Program Files");
    EXPECT_EQ(AnsiToWide("C:\\Program Files"), L"C:\\Program Files");
}

TEST(TextEncoding, LoneSurrogateFollowsTheSystemConversion) {
    const std::string utf8 = WideToUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x");
    // The system replaces the unpaired half; the text after it survives.
    ASSERT_FALSE(utf8.empty());
    EXPECT_EQ(utf8.back(), 'x');
}

}  // namespace
