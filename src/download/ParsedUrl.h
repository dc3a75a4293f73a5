// The download addresses as the engine reads them: host, port and path, the
// scheme ignored. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct ParsedUrl {
    std::string host;
    int32_t port = 80;
    std::string path;
};

// Splits at "/" with empty pieces dropped: the second piece is the authority,
// the rest the path. Throws "invalid url" (no path) or "invalid host" (more
// than one ":", or a port outside 1..65535).
ParsedUrl ParseUrl(std::string_view url);
