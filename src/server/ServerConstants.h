// Time-outs and pauses of the two gateway queries, in one place.
#pragma once

#include <cstdint>

namespace server {

inline constexpr int32_t kGatewayTimeoutMs = 5000;
inline constexpr uint32_t kPkgInfoRetryPauseMs = 300;
inline constexpr int32_t kServerInfoAttempts = 3;
inline constexpr uint32_t kServerInfoRetryPauseMs = 300;
// How long a query thread's owner waits for it to notice its stop flag
// before ending it forcibly. Long enough for a pause between attempts and a
// refused connection: a thread ended while it allocates leaves the heap
// locked and hangs the process on its way out.
inline constexpr uint32_t kQueryStopGraceMs = 500;

}  // namespace server
