// Small text operations shared by every subsystem; wide and narrow forms
// behave alike. Platform-free: no Windows header here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Maximal runs of characters not in separators; empty runs are dropped.
std::vector<std::string> SplitAny(std::string_view text, std::string_view separators);
std::vector<std::wstring> SplitAny(std::wstring_view text, std::wstring_view separators);

// Index of the first occurrence, or -1 (also when either text is empty).
int32_t FindFirst(std::string_view text, std::string_view pattern);
int32_t FindFirst(std::wstring_view text, std::wstring_view pattern);

std::string TrimLeft(std::string_view text, std::string_view set);
std::wstring TrimLeft(std::wstring_view text, std::wstring_view set);
std::wstring TrimRight(std::wstring_view text, std::wstring_view set);

// Every occurrence of pattern removed; unchanged when pattern is empty or
// longer than text.
std::wstring RemoveAll(std::wstring_view text, std::wstring_view pattern);

std::string ToUpperAscii(std::string_view text);

std::string FormatInt64(int64_t value);
std::wstring FormatInt64Wide(int64_t value);
// The leading decimal number ("%lld" rules), or 0 when text does not start with one.
int64_t ParseInt64(std::string_view text);
int64_t ParseInt64(std::wstring_view text);

// Form encoding: space as "+", unreserved bytes kept, the rest as %XX.
std::string UrlEncode(const char* bytes, std::ptrdiff_t count);
