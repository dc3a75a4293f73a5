// The benchmark's WinHTTP peer: one connection, one plain GET of the whole
// file into a local file, then its MD5, as a straightforward Windows program
// would fetch a package.
//   winhttp_fetch <host> <port> <path> <file>
// Prints "<md5> <milliseconds>" (download and digest). Exit code 0 when the
// server answered 200 and every byte was written.
#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "download/Md5.h"
#include "net/WinHttpHandle.h"
#include "sys/Win32Handle.h"
#include "tests/support/Stopwatch.h"

namespace {

constexpr DWORD kBufferBytes = 1 << 20;

bool WriteAll(HANDLE file, const char* bytes, DWORD count) {
    DWORD written = 0;
    return ::WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

bool Fetch(const wchar_t* host, INTERNET_PORT port, const wchar_t* path, HANDLE file) {
    const WinHttpHandle session(::WinHttpOpen(L"winhttp_fetch", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                              WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    const WinHttpHandle connection(::WinHttpConnect(session.Get(), host, port, 0));
    if (!connection) return false;
    const WinHttpHandle request(::WinHttpOpenRequest(connection.Get(), L"GET", path, nullptr, WINHTTP_NO_REFERER,
                                                     WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request) return false;
    if (!::WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(request.Get(), nullptr))
        return false;
    DWORD status = 0, size = sizeof(status);
    if (!::WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status != 200)
        return false;
    std::vector<char> buffer(kBufferBytes);
    for (;;) {
        DWORD read = 0;
        if (!::WinHttpReadData(request.Get(), buffer.data(), kBufferBytes, &read)) return false;
        if (read == 0) return true;
        if (!WriteAll(file, buffer.data(), read)) return false;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 2;
    const Stopwatch clock;
    bool fetched = false;
    {
        const FileHandle file(
            ::CreateFileW(argv[4], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return 1;
        fetched = Fetch(argv[1], static_cast<INTERNET_PORT>(std::wcstoul(argv[2], nullptr, 10)), argv[3], file.Get());
    }
    if (!fetched) return 1;
    const std::string digest = Md5OfFile(argv[4]);
    std::printf("%s %lld\n", digest.c_str(), clock.Milliseconds());
    return digest.empty() ? 1 : 0;
}
