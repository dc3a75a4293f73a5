// Time-outs, retry counts and buffer sizes of the download engine, in one
// place. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dl {

inline constexpr int32_t kSegmentCount = 2;
inline constexpr int32_t kWorkerTimeoutMs = 2000;
inline constexpr int32_t kWorkerAttempts = 20;
// More consecutive connection failures than this end a worker at once.
inline constexpr int32_t kWorkerMaxConnectFailures = 10;
inline constexpr uint32_t kWorkerStartDelayMs = 10;
inline constexpr uint32_t kWorkerConnectRetryMs = 10;
inline constexpr uint32_t kWorkerAttemptPauseMs = 500;
inline constexpr size_t kWorkerBufferBytes = 1048576;
// Every recv costs a round trip to wineserver; pieces of 1 KiB would cap a
// download far below what loopback and disk allow.
inline constexpr size_t kWorkerRecvBytes = 65536;
inline constexpr size_t kRequestPieceBytes = 1024;

inline constexpr int32_t kHeadTimeoutMs = 3000;
inline constexpr int32_t kHeadAttempts = 10;
inline constexpr uint32_t kHeadRetryPauseMs = 100;
// A longer chain of redirects is taken for a loop and fails that URL.
inline constexpr int32_t kMaxRedirects = 10;
// How long the URL query waits for the package information before it turns
// to the CDN fallback.
inline constexpr uint32_t kPkgInfoWaitMs = 10000;
inline constexpr uint32_t kUrlThreadStartPollMs = 5;
// Between connectivity probes while the package information is pending, so
// that waiting for it does not keep a core busy with connects.
inline constexpr uint32_t kProbePauseMs = 50;

// The package file is created at the size a server names; a size beyond
// this is no package of ours and is not used.
inline constexpr int64_t kMaxPackageBytes = int64_t{8} << 30;

inline constexpr char kCdnFallbackPath[] = "/application/soft_package/pc/81974195/software/install.exe";

}  // namespace dl
