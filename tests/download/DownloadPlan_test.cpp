#include "download/DownloadPlan.h"

#include <gtest/gtest.h>

TEST(DownloadPlan, SegmentsCoverTheFileAndTheLastTakesTheRemainder) {
    const auto segments = SplitSegments(1000001, 2);
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].next, 0);
    EXPECT_EQ(segments[0].last, 499999);
    EXPECT_EQ(segments[1].next, 500000);
    EXPECT_EQ(segments[1].last, 1000000);
    EXPECT_TRUE(SplitSegments(0, 2).empty());
}

TEST(DownloadPlan, ProgressIsAWholePercentage) {
    EXPECT_EQ(ProgressPercent(250, 1000), 25);
    EXPECT_EQ(ProgressPercent(5, 0), 0);
    EXPECT_EQ(ProgressPercent(INT64_MAX, INT64_MAX), 100);
}

TEST(DownloadPlan, VersionsCompareEveryPartOnItsOwn) {
    const struct {
        const char* a;
        const char* b;
        bool atLeast;
    } cases[] = {
        {"3.1.0.0", "3.1.0.0", true}, {"3.2.0.0", "3.1.5.0", false}, {"2.0", "1.5", false},
        {"3.1.1.0", "3.1.0.0", true}, {"3.1", "3.1.0", false},       {"", "", false},
        {"10.0", "9.0", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionAtLeast(c.a, c.b), c.atLeast) << c.a << " vs " << c.b;
}

TEST(DownloadPlan, ChannelVersionsNameThePackage) {
    EXPECT_EQ(ChannelPackageName(L"1.97.0.5"), L"install_vive3600.exe");
    EXPECT_EQ(ChannelPackageName(L"1.96.0.5"), L"install_ravorid0.exe");
    EXPECT_EQ(ChannelPackageName(L"1.99.0.5"), L"install_vurazu00.exe");
    EXPECT_EQ(ChannelPackageName(L"1.95.0.5"), L"");
    EXPECT_EQ(ChannelPackageName(L"1.97.0"), L"");
}
