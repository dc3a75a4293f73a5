#include "sys/TextOps.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Parts = std::vector<std::string>;

TEST(TextOps, SplitAnyDropsEmptyRuns) {
    EXPECT_EQ(SplitAny("3.6.13.246", "."), (Parts{"3", "6", "13", "246"}));
    EXPECT_EQ(SplitAny("a..b.", "."), (Parts{"a", "b"}));
    EXPECT_EQ(SplitAny("\\a\\b\\", "\\/"), (Parts{"a", "b"}));
    EXPECT_EQ(SplitAny("", "."), Parts{});
    EXPECT_EQ(SplitAny("...", "."), Parts{});
    EXPECT_EQ(SplitAny(L"C:\\a/b", L"\\/"), (std::vector<std::wstring>{L"C:", L"a", L"b"}));
}

TEST(TextOps, FindFirst) {
    EXPECT_EQ(FindFirst("Setup_U12", "_"), 5);
    EXPECT_EQ(FindFirst("", "_"), -1);
    EXPECT_EQ(FindFirst("abc", ""), -1);
    EXPECT_EQ(FindFirst("abcabc", "ca"), 2);
    EXPECT_EQ(FindFirst(L"abc", L"d"), -1);
}

TEST(TextOps, TrimAndRemove) {
    EXPECT_EQ(TrimRight(L"abc  ", L" "), L"abc");
    EXPECT_EQ(TrimRight(L"   ", L" "), L"");
    EXPECT_EQ(TrimLeft("  \tabc ", " \t"), "abc ");
    EXPECT_EQ(RemoveAll(L"aXbXXc", L"X"), L"abc");
    EXPECT_EQ(RemoveAll(L"aaaa", L"aa"), L"");
    EXPECT_EQ(RemoveAll(L"ab", L"abc"), L"ab");
    EXPECT_EQ(RemoveAll(L"ab", L""), L"ab");
    EXPECT_EQ(ToUpperAscii("a-z\xC3\xA9"), "A-Z\xC3\xA9");
}

TEST(TextOps, Int64TextRoundTrip) {
    struct Case {
        const char* text;
        int64_t value;
    };
    const Case cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"  -42", -42},
        {"+7", 7},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"99999999999999999999", INT64_MAX},
        {"-99999999999999999999", INT64_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseInt64(c.text), c.value);
    }
    EXPECT_EQ(FormatInt64(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(FormatInt64Wide(1733900000), L"1733900000");
    EXPECT_EQ(ParseInt64(L"97"), 97);
}

TEST(TextOps, UrlEncodeWorksOnBytes) {
    EXPECT_EQ(UrlEncode("a b/c~", 6), "a+b%2Fc~");
    EXPECT_EQ(UrlEncode("\xC3\xA9", 2), "%C3%A9");
    EXPECT_EQ(UrlEncode("-_.!~*'()", 9), "-_.!~*'()");
    EXPECT_EQ(UrlEncode("a\0b", 3), "a%00b");
    EXPECT_EQ(UrlEncode(nullptr, 4), "");
    EXPECT_EQ(UrlEncode("abc", 0), "");
    EXPECT_EQ(UrlEncode("abc", -1), "");
}

}  // namespace
