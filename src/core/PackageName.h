// What the installer learns from its own file: the package name and the
// install channel. Platform-free, so the rules are tested natively too.
#pragma once

#include <string>
#include <string_view>

// The file name after the last backslash without its last four characters
// (".exe"); empty when the path has no backslash.
std::string PackageNameFromPath(std::string_view utf8Path);

// The text after the first "_" (skipping an upper-case "U" right after it),
// at most 8 bytes; empty when nothing follows the underscore.
std::string ChannelFromPackageName(std::string_view packageName);

// A four-part product version whose second part is 96 to 99 names a fixed
// channel that replaces the one from the file name; otherwise the given
// channel stands.
std::string ChannelFromVersion(std::string_view productVersion, std::string channel);
