#include "download/DownloadPlan.h"

#include <cstdint>

#include "sys/TextOps.h"

namespace {

constexpr int64_t kFirstChannelVersion = 96;
constexpr const wchar_t* kChannelPackages[] = {L"install_ravorid0.exe", L"install_vive3600.exe",
                                               L"install_zivezev0.exe", L"install_vurazu00.exe"};
constexpr size_t kVersionParts = 4;

}  // namespace

std::vector<SegmentRange> SplitSegments(int64_t totalSize, int32_t count) {
    std::vector<SegmentRange> segments;
    if (count <= 0 || totalSize <= 0) return segments;
    const int64_t chunk = totalSize / count;
    const int64_t remainder = totalSize % count;
    for (int32_t i = 0; i < count; ++i) {
        SegmentRange range;
        range.next = i * chunk;
        range.last = range.next + chunk - 1 + (i == count - 1 ? remainder : 0);
        segments.push_back(range);
    }
    return segments;
}

int32_t ProgressPercent(int64_t downloaded, int64_t totalSize) {
    if (totalSize <= 0) return 0;
    // Sizes come from servers: keep the product from overflowing.
    if (downloaded > INT64_MAX / 100)
        return static_cast<int32_t>(static_cast<long double>(downloaded) * 100 / totalSize);
    return static_cast<int32_t>(downloaded * 100 / totalSize);
}

bool VersionAtLeast(std::string_view a, std::string_view b) {
    const std::vector<std::string> left = SplitAny(a, ".");
    const std::vector<std::string> right = SplitAny(b, ".");
    if (left.empty() || left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (ParseInt64(left[i]) < ParseInt64(right[i])) return false;
    }
    return true;
}

std::wstring ChannelPackageName(std::wstring_view ownVersion) {
    const std::vector<std::wstring> parts = SplitAny(ownVersion, L".");
    if (parts.size() != kVersionParts) return {};
    const int64_t value = ParseInt64(parts[1]);
    if (value < kFirstChannelVersion || value >= kFirstChannelVersion + 4) return {};
    return kChannelPackages[value - kFirstChannelVersion];
}
