// Digests of files through Md5OfFile, for the comparison with md5sum.
//   md5_bench file...          one "digest  file" line per file, as md5sum prints
//   md5_bench --time file      the digest, then seconds and MiB/s of the best of three runs
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "download/Md5.h"
#include "sys/FileUtil.h"
#include "tests/support/Stopwatch.h"

namespace {

constexpr int kTimedRuns = 3;

int Time(const wchar_t* path) {
    std::string digest;
    double best = 0;
    for (int run = 0; run < kTimedRuns; ++run) {
        const Stopwatch clock;
        digest = Md5OfFile(path);
        const double seconds = clock.Seconds();
        if (run == 0 || seconds < best) best = seconds;
    }
    if (digest.empty()) return 1;
    const double mebibytes = static_cast<double>(QueryFileSize(path)) / (1024.0 * 1024.0);
    std::printf("%s %.3f %.1f\n", digest.c_str(), best, mebibytes / best);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"--time") == 0) return Time(argv[2]);
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string digest = Md5OfFile(argv[i]);
        if (digest.empty()) status = 1;
        std::printf("%s  %ls\n", digest.c_str(), argv[i]);
    }
    return status;
}
