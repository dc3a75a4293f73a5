#include "download/UrlReply.h"

#include <gtest/gtest.h>

TEST(UrlReply, ContentLengthNeedsTheExactPrefixAndAValue) {
    EXPECT_EQ(ContentLengthFromHeaders({"HTTP/1.1 200 OK", "Content-Length: 1234"}), 1234);
    EXPECT_EQ(ContentLengthFromHeaders({"content-length: 5", "Content-Length:", "Content-Length:7"}), 7);
    EXPECT_EQ(ContentLengthFromHeaders({"HTTP/1.1 200 OK"}), 0);
}

TEST(UrlReply, FileNameIsTheFirstQuotedPiece) {
    EXPECT_EQ(FileNameFromHeaders({"Content-Disposition: attachment; filename=\"a b.exe\""}), "a b.exe");
    EXPECT_EQ(FileNameFromHeaders({"X: filename=plain.exe", "Y: filename=\"later.exe\""}), "plain.exe");
    EXPECT_EQ(FileNameFromHeaders({"X: filename=\"\""}), "");
    EXPECT_EQ(FileNameFromHeaders({"Content-Type: x"}), "");
}

TEST(UrlReply, RelativeLocationsAreMadeAbsolute) {
    EXPECT_EQ(RedirectTarget({"HTTP/1.1 302 Found", "Location: /pkg/b.exe"}, "h", 80), "http://h:80/pkg/b.exe");
    EXPECT_EQ(RedirectTarget({"Location:http://o:81/x", "Location: /y"}, "h", 80), "http://o:81/x");
    EXPECT_EQ(RedirectTarget({"Location:   pkg/b.exe"}, "h", 80), "pkg/b.exe");
    EXPECT_EQ(RedirectTarget({"location: /x"}, "h", 80), "");
}

TEST(UrlReply, ServerNamesNeverLeaveTheProductFolder) {
    const struct {
        const wchar_t* name;
        const wchar_t* safe;
    } cases[] = {
        {L"a b.exe", L"a b.exe"},
        {L"..\\..\\Windows\\evil.exe", L"evil.exe"},
        {L"../../evil.exe", L"evil.exe"},
        {L"C:\\evil.exe", L"evil.exe"},
        {L"C:evil.exe", L"evil.exe"},
        {L"\\\\server\\share\\x.exe", L"x.exe"},
        {L"a.exe:stream", L"stream"},
        {L"..", L""},
        {L"..\\", L""},
        {L"...", L""},
        {L"setup.exe. . ", L"setup.exe"},
        {L"a<b>c|d?e*f\"g\x01.exe", L"abcdefg.exe"},
        {L"CON", L""},
        {L"nul.exe", L""},
        {L"com1.txt", L""},
        {L"console.exe", L"console.exe"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SafePackageFileName(c.name), c.safe);
    EXPECT_EQ(SafePackageFileName(std::wstring(500, L'x')), L"");
}

TEST(UrlReply, MadeUpNamesCarryInstallAndVersion) {
    EXPECT_EQ(MadeUpPackageName(L"Setup.exe", L"2.1.0"), L"Setup_install_v2.1.0.exe");
    EXPECT_EQ(MadeUpPackageName(L"Demo_install.exe", L""), L"Demo_install.exe");
    EXPECT_EQ(MadeUpPackageName(L"a.exe.b.exe", L""), L"a.b_install.exe");
}
