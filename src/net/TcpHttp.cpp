#include "net/TcpHttp.h"

#include "net/NetConstants.h"
#include "sys/CorvanError.h"

namespace {

constexpr char kStatusOk[] = "200";

}  // namespace

CTCPHttp::CTCPHttp(const std::string& host, uint16_t port) { ResolveWithFallback(host, port); }

std::string CTCPHttp::Get(const std::string& path, const std::string& host) {
    const std::string request = BuildGetRequest(path, host);
    Connect();
    SendAll(request);
    const ResponseHeader header = ReadResponseHeader();
    if (header.status != kStatusOk) return {};
    return ReadLength(header);
}

ResponseHeader CTCPHttp::Head(const std::string& path, const std::string& host) {
    const std::string request = BuildHeadRequest(path, host);
    Connect();
    SendAll(request);
    return ReadResponseHeader();
}

std::string CTCPHttp::PostForm(const std::string& path, const std::string& host, MultipartForm& form) {
    form.PrepareForm();
    const std::string request = BuildPostRequestHeader(path, host, form.Boundary(), form.TotalLength());
    Connect();
    SendAll(request);
    std::string piece;
    while (form.NextPiece(piece)) {
        if (!piece.empty()) SendAll(piece);
    }
    return ReadLength(ReadResponseHeader());
}

ResponseHeader CTCPHttp::ReadResponseHeader() {
    std::string raw;
    HeaderEndScanner scanner;
    while (raw.size() < net::kMaxResponseHeaderBytes) {
        char byte;
        RecvExact(1, &byte);
        raw += byte;
        if (scanner.Feed(byte)) break;
    }
    return ParseResponseHeader(raw);
}

std::string CTCPHttp::ReadLength(const ResponseHeader& header) {
    return header.contentLength > 0 ? ReadBody(header.contentLength) : ReadChunkedBody();
}

std::string CTCPHttp::ReadBody(int64_t length) {
    if (length > net::kMaxReplyBodyBytes) throw CorvanError("Reply body too large");
    std::string body(static_cast<size_t>(length), '\0');
    RecvExact(body.size(), body.data());
    return body;
}

std::string CTCPHttp::ReadChunkLine() {
    std::string line;
    while (line.size() < net::kMaxChunkLineBytes) {
        char byte;
        RecvExact(1, &byte);
        line += byte;
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) break;
    }
    return line;
}

std::string CTCPHttp::ReadChunkedBody() {
    std::string body;
    for (;;) {
        int32_t size = ParseChunkSizeLine(ReadChunkLine());
        // The empty line after a chunk's data comes before the next size.
        if (size == 0) size = ParseChunkSizeLine(ReadChunkLine());
        if (size < 0) throw CorvanError("Read body stream error");
        if (size == 0) return body;
        if (static_cast<int64_t>(body.size()) + size > net::kMaxReplyBodyBytes) {
            throw CorvanError("Reply body too large");
        }
        const size_t start = body.size();
        body.resize(start + static_cast<size_t>(size));
        RecvExact(static_cast<size_t>(size), body.data() + start);
    }
}
