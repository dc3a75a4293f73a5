#include "download/WorkerReply.h"

#include <gtest/gtest.h>

#include <string>

using Kind = ReplyHead::Kind;

TEST(WorkerReply, RequestBytesAreExact) {
    EXPECT_EQ(BuildRangeRequest("/p/a.exe", "127.0.0.3", 300000, 499999),
              "GET /p/a.exe HTTP/1.1\r\nHost:127.0.0.3\r\nAccept:*/*\r\nRange:bytes=300000-499999\r\n"
              "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\nConnection:close\r\n\r\n");
}

TEST(WorkerReply, BodyStartsAfterTheHeaderOfARangedReply) {
    const std::string reply = "HTTP/1.1 206 Partial Content\r\nContent-Length: 3\r\n\r\nabc";
    const ReplyHead head = InspectReplyHead(reply, 10);
    EXPECT_EQ(head.kind, Kind::kBody);
    EXPECT_EQ(reply.substr(head.bodyOffset), "abc");
}

TEST(WorkerReply, StatusDecidesWhatTheBytesAre) {
    const struct {
        const char* reply;
        int64_t rangeStart;
        Kind kind;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nA: b\r\n\r\nx", 0, Kind::kBody},
        // The whole file from its start cannot fill a range further in.
        {"HTTP/1.1 200 OK\r\nA: b\r\n\r\nx", 5, Kind::kRefused},
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", 0, Kind::kRefused},
        {"HTTP/1.1 503 Busy\r\nA: b\r\n\r\n", 0, Kind::kRefused},
        {"HTTP/1.1 206 Partial\r\nContent-Le", 0, Kind::kIncomplete},
        {"HTTP/1.1 206 Partial\r\n", 0, Kind::kIncomplete},
        {"", 0, Kind::kIncomplete},
        {"\r\n\r\n", 0, Kind::kBody},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InspectReplyHead(c.reply, c.rangeStart).kind, c.kind) << c.reply;
}

TEST(WorkerReply, RedirectsListEveryLocation) {
    const ReplyHead head =
        InspectReplyHead("HTTP/1.1 302 Found\r\nLocation: http://a:81/x\r\nLocation:http://b/y\r\n\r\n", 0);
    EXPECT_EQ(head.kind, Kind::kRedirect);
    EXPECT_EQ(head.locations, (std::vector<std::string>{"http://a:81/x", "http://b/y"}));
    EXPECT_TRUE(InspectReplyHead("HTTP/1.1 301 Moved\r\nServer: x", 0).locations.empty());
}

TEST(WorkerReply, HeaderSplitAcrossReadsLosesOnlyTheFirstPiece) {
    EXPECT_EQ(InspectReplyHead("HTTP/1.1 206 Partial\r\nContent-Le", 0).kind, Kind::kIncomplete);
    const std::string second = "ngth: 3\r\n\r\nabc";
    const ReplyHead head = InspectReplyHead(second, 0);
    ASSERT_EQ(head.kind, Kind::kBody);
    EXPECT_EQ(second.substr(head.bodyOffset), "abc");
}
