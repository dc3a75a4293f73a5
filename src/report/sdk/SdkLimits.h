// Time-outs and sizes of the analytics SDK, in one place.
#pragma once

#include <cstddef>
#include <cstdint>

// Records waiting to be sent; more are dropped rather than held.
inline constexpr size_t kSdkMaxQueuedRecords = 1024;
inline constexpr uint32_t kSdkConnectTimeoutMs = 1500;
inline constexpr uint32_t kSdkIoTimeoutMs = 2000;
// Bytes of a reply read before the connection is dropped.
inline constexpr size_t kSdkMaxReplyBytes = 16 * 1024;
// qpxFree: how long queued records may still be sent.
inline constexpr uint32_t kSdkFreeFlushMs = 2000;
// After a crash: how long the crash records may take to leave.
inline constexpr uint32_t kSdkCrashFlushMs = 3000;
// How long Stop waits for the thread to end: at most one connect and one
// blocked read or write, since the library may be unloaded right after.
inline constexpr uint32_t kSdkStopGraceMs = kSdkConnectTimeoutMs + kSdkIoTimeoutMs;
// Machine ids: 32 hexadecimal digits.
inline constexpr size_t kSdkMidChars = 32;
