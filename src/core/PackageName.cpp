#include "core/PackageName.h"

#include <iterator>

#include "sys/TextOps.h"

namespace {

constexpr size_t kExtensionLength = 4;  // ".exe"
constexpr size_t kMaxChannelBytes = 8;

struct VersionChannel {
    int64_t minor;
    const char* channel;
};
constexpr VersionChannel kVersionChannels[] = {
    {96, "ravorid0"},
    {97, "vive3600"},
    {98, "zivezev0"},
    {99, "vurazu00"},
};

}  // namespace

std::string PackageNameFromPath(std::string_view utf8Path) {
    const size_t slash = utf8Path.rfind('\\');
    if (slash == std::string_view::npos) return {};
    const std::string_view file = utf8Path.substr(slash + 1);
    if (file.size() < kExtensionLength) return {};
    return std::string(file.substr(0, file.size() - kExtensionLength));
}

std::string ChannelFromPackageName(std::string_view packageName) {
    const size_t underscore = packageName.find('_');
    if (underscore == std::string_view::npos || underscore + 1 >= packageName.size()) return {};
    size_t start = underscore + 1;
    if (packageName[start] == 'U') ++start;
    return std::string(packageName.substr(start, kMaxChannelBytes));
}

std::string ChannelFromVersion(std::string_view productVersion, std::string channel) {
    const std::vector<std::string> parts = SplitAny(productVersion, ".");
    if (parts.size() != 4) return channel;
    const int64_t minor = ParseInt64(parts[1]);
    for (const VersionChannel& entry : kVersionChannels) {
        if (entry.minor == minor) return entry.channel;
    }
    return channel;
}
