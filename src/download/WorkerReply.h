// The download worker's bytes on the wire: its ranged GET, and the reading of
// the reply's header at the front of its receive buffer. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The exact request: Host without a blank, one Range of next to last inclusive.
std::string BuildRangeRequest(std::string_view path, std::string_view host, int64_t next, int64_t last);

struct ReplyHead {
    enum class Kind {
        kIncomplete,  // no end of header yet: the bytes so far are dropped
        kRedirect,    // 3xx: the attempt ends, the next one goes to the last location
        kRefused,     // a status read that carries no part of the requested range
        kBody,        // the body starts at bodyOffset
    };
    Kind kind = Kind::kIncomplete;
    std::vector<std::string> locations;  // of a redirect, in order
    size_t bodyOffset = 0;
};

// Reads the header at the start of buffered. rangeStart is the first byte the
// request asked for: a plain 200 carries the file from its beginning, so it
// only serves a request that starts there.
ReplyHead InspectReplyHead(std::string_view buffered, int64_t rangeStart);
