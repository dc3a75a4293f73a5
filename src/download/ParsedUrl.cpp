#include "download/ParsedUrl.h"

#include <vector>

#include "sys/CorvanError.h"
#include "sys/TextOps.h"

namespace {

constexpr int64_t kMaxPort = 65535;

}  // namespace

ParsedUrl ParseUrl(std::string_view url) {
    const std::vector<std::string> pieces = SplitAny(url, "/");
    if (pieces.size() < 3) throw CorvanError("invalid url");
    const std::vector<std::string> authority = SplitAny(pieces[1], ":");
    if (authority.empty() || authority.size() > 2) throw CorvanError("invalid host");
    ParsedUrl parsed;
    parsed.host = authority[0];
    if (authority.size() == 2) {
        // A port we could never connect to is refused here, not at connect time.
        const int64_t port = ParseInt64(authority[1]);
        if (port <= 0 || port > kMaxPort) throw CorvanError("invalid host");
        parsed.port = static_cast<int32_t>(port);
    }
    for (size_t i = 2; i < pieces.size(); ++i) {
        parsed.path += '/';
        parsed.path += pieces[i];
    }
    return parsed;
}
