// What the URL query reads from the header lines of a HEAD reply: the size,
// the redirect target and the package file name. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The first line longer than 15 characters that starts with "Content-Length:";
// 0 when there is none.
int64_t ContentLengthFromHeaders(const std::vector<std::string>& lines);

// The text after "filename=" in the first line that holds it, up to the end of
// the line, split at double quotes; the first piece, or "" (system ANSI bytes).
std::string FileNameFromHeaders(const std::vector<std::string>& lines);

// The first "Location:" target with leading blanks removed; a target that
// starts with "/" is made absolute against host and port. "" when no line
// starts with "Location:".
std::string RedirectTarget(const std::vector<std::string>& lines, std::string_view host, int32_t port);

// A name the package file can carry inside the product data folder: only the
// text after the last "\", "/" or ":" (so no folder, drive or stream can be
// named), without the characters Windows forbids in names and without
// trailing dots and blanks. "" when nothing usable remains ("..", a device
// name such as CON, an overlong name).
std::wstring SafePackageFileName(std::wstring_view name);

// The installer's own file name without its extension, with "_install"
// unless it already has it, "_v" + version when there is one, and ".exe".
std::wstring MadeUpPackageName(std::wstring_view ownFileName, std::wstring_view version);
