// Just enough HTTP/1.1 over a CTCPClient for the installer's own requests: a
// GET that returns the body of a 200 reply, a HEAD that returns the header, a
// multipart POST. One connection per request, always "Connection: close".
//
// Threading and cancel rules are those of CTCPClient: one object per request,
// used by the thread that built it; failures throw CorvanError.
#pragma once

#include <cstdint>
#include <string>

#include "net/HttpMessage.h"
#include "net/MultipartForm.h"
#include "net/TcpClient.h"

class CTCPHttp : public CTCPClient {
public:
    // Resolves host with the DNS fallback; "Can't resolve host name" when
    // even that fails.
    CTCPHttp(const std::string& host, uint16_t port);

    // The body of a 200 reply; "" for any other status (its body is not read).
    std::string Get(const std::string& path, const std::string& host);
    ResponseHeader Head(const std::string& path, const std::string& host);
    // The body of whatever reply comes.
    std::string PostForm(const std::string& path, const std::string& host, MultipartForm& form);

private:
    ResponseHeader ReadResponseHeader();
    std::string ReadBody(int64_t length);
    std::string ReadChunkedBody();
    std::string ReadLength(const ResponseHeader& header);
    std::string ReadChunkLine();
};
