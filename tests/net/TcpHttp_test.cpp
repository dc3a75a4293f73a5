#include "net/TcpHttp.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/net/NetPeers.h"

namespace {

using namespace netpeers;

class TcpHttpTest : public NetTest {};

TEST_F(TcpHttpTest, RequestsReachTheServerByteForByte) {
    EXPECT_EQ(CTCPHttp(kHttpHost, kHttpPort).Get("/ok5/get?a=1&b=%20", "api.tarvel.example"), "hello");
    EXPECT_EQ(Recorded("/ok5/get?a=1&b=%20"),
              "GET /ok5/get?a=1&b=%20 HTTP/1.1\r\nHost: api.tarvel.example\r\nConnection: close\r\n\r\n");

    const ResponseHeader head = CTCPHttp(kHttpHost, kHttpPort).Head("/head/package.exe", "cdn.tarvel.example");
    EXPECT_EQ(head.status, "200");
    EXPECT_EQ(head.contentLength, 1234);
    EXPECT_EQ(Recorded("/head/package.exe"),
              "HEAD /head/package.exe HTTP/1.1\r\nHost:cdn.tarvel.example\r\nAccept:*/*\r\n"
              "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\nConnection:close\r\n\r\n");

    MultipartForm form;
    form.AddField("app_id", "12");
    // The reply's status is not looked at: a 201 body is returned as well.
    EXPECT_EQ(CTCPHttp(kHttpHost, kHttpPort).PostForm("/posted/v1/install/tolmar", "at.tarvel.example", form),
              "posted");
    const std::string boundary = "-----------------------------7da1f4c300560";
    const std::string body =
        boundary + "\r\nContent-Disposition: form-data; name=\"app_id\"\r\n\r\n12\r\n" + boundary + "--\r\n";
    ASSERT_EQ(body.size(), 143u);
    EXPECT_EQ(Recorded("/posted/v1/install/tolmar"),
              "POST /posted/v1/install/tolmar HTTP/1.1\r\nHost: at.tarvel.example\r\n"
              "Content-Type: multipart/form-data; boundary=---------------------------7da1f4c300560\r\n"
              "Content-Length: 143\r\nConnection: close\r\n\r\n" +
                  body);
}

TEST_F(TcpHttpTest, EmptyFormIsPostedWithAnEmptyBody) {
    MultipartForm form;
    EXPECT_EQ(CTCPHttp(kHttpHost, kHttpPort).PostForm("/posted/empty", "", form), "posted");
    EXPECT_EQ(Recorded("/posted/empty"),
              "POST /posted/empty HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=\r\n"
              "Content-Length: 0\r\nConnection: close\r\n\r\n");
}

TEST_F(TcpHttpTest, GetDecodesEveryBodyForm) {
    const std::string alphabetXyz = "abcdefghijklmnopqrstuvwxyzxyz";
    struct Case {
        const char* path;
        std::string body;
    } cases[] = {
        {"/ok5/a", "hello"},
        {"/chunked/a", alphabetXyz},
        {"/chunked-upper/a", alphabetXyz},
        {"/lowercase-length/a", "abcd"},  // not recognised: read as chunked
        {"/notfound/a", ""},
        {"/slow-header/a", "ok"},
    };
    for (const Case& c : cases) {
        CTCPHttp http(kHttpHost, kHttpPort);
        http.SetTimeouts(2000, 2000);
        EXPECT_EQ(http.Get(c.path, ""), c.body) << c.path;
    }
}

TEST_F(TcpHttpTest, BrokenRepliesFail) {
    struct Case {
        const char* path;
        const char* failure;
    } cases[] = {
        {"/not-chunked/a", "Read body stream error"}, {"/bad-chunk-line/a", "Read body stream error"},
        {"/huge-chunk/a", "Reply body too large"},    {"/huge-length/a", "Reply body too large"},
        {"/cut-body/a", "Server can't send data"},    {"/cut-header/a", "Server can't send data"},
        {"/close/a", "Server can't send data"},       {"/reset-body/a", "socket recv failed"},
        {"/stall/a", "socket recv failed"},  // the receive time-out
    };
    for (const Case& c : cases) {
        CTCPHttp http(kHttpHost, kHttpPort);
        http.SetTimeouts(1000, 1000);
        EXPECT_EQ(FailureOf([&] { http.Get(c.path, ""); }), c.failure) << c.path;
    }
}

TEST_F(TcpHttpTest, ServerResettingWhileTheBodyIsSentFailsTheSend) {
    MultipartForm form;
    // Far more than the socket buffers take, so sending is still going on
    // when the reset arrives.
    form.AddField("file", std::string(32 * 1024 * 1024, 'x'));
    CTCPHttp http(kHttpHost, kHttpPort);
    http.SetTimeouts(5000, 5000);
    EXPECT_EQ(FailureOf([&] { http.PostForm("/reset-on-request/a", "", form); }), "socket send failed");
}

TEST_F(TcpHttpTest, LongHeaderIsCutAt4096Bytes) {
    const ResponseHeader head = CTCPHttp(kHttpHost, kHttpPort).Head("/long-header/a", "");
    EXPECT_EQ(head.status, "200");
    EXPECT_EQ(head.contentLength, 0);  // its line lies beyond the cut
    size_t bytes = 0;
    for (const std::string& line : head.lines)
        bytes += line.size() + 2;
    EXPECT_GE(bytes, 4096u);
    EXPECT_LE(bytes, 4098u);
}

TEST_F(TcpHttpTest, RefusedConnectionFailsAndRecordsNothing) {
    CTCPHttp http(kHttpHost, kDeadPort);
    EXPECT_EQ(FailureOf([&] { http.Get("/ok5/a", ""); }), "Connect failed");
    EXPECT_EQ(http.ConnectFailures(), 1);
    EXPECT_EQ(http.Proxy().type, 0);  // no system proxy: the retry went direct
    EXPECT_EQ(settings_.Get().GetProxy().type, 0);
}

}  // namespace
