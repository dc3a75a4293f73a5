// The downloader's arithmetic and naming rules: the split into segments, the
// progress, version comparison and the channel package names. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SegmentRange {
    int64_t next = 0;
    int64_t last = 0;  // inclusive
};

// Equal chunks; the last one also takes the remainder.
std::vector<SegmentRange> SplitSegments(int64_t totalSize, int32_t count);

// downloaded * 100 / total, 0 while the total is not positive.
int32_t ProgressPercent(int64_t downloaded, int64_t totalSize);

// Part by part after splitting at ".": false for different part counts or no
// parts, and as soon as a part of a is smaller than the same part of b.
bool VersionAtLeast(std::string_view a, std::string_view b);

// "install_<channel>.exe" when the second of exactly four version parts names
// a channel (96 to 99); "" otherwise.
std::wstring ChannelPackageName(std::wstring_view ownVersion);
