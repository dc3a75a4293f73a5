#include "sys/TextOps.h"

#include <cinttypes>
#include <cstdio>
#include <cwchar>

namespace {

template <typename Char>
std::vector<std::basic_string<Char>> SplitAnyOf(std::basic_string_view<Char> text,
                                                std::basic_string_view<Char> separators) {
    std::vector<std::basic_string<Char>> parts;
    std::basic_string<Char> run;
    for (Char c : text) {
        if (separators.find(c) == std::basic_string_view<Char>::npos) {
            run.push_back(c);
            continue;
        }
        if (!run.empty()) parts.push_back(std::move(run));
        run.clear();
    }
    if (!run.empty()) parts.push_back(std::move(run));
    return parts;
}

template <typename Char>
int32_t FindFirstOf(std::basic_string_view<Char> text, std::basic_string_view<Char> pattern) {
    if (text.empty() || pattern.empty()) return -1;
    const size_t at = text.find(pattern);
    return at == std::basic_string_view<Char>::npos ? -1 : static_cast<int32_t>(at);
}

template <typename Char>
std::basic_string<Char> TrimLeftOf(std::basic_string_view<Char> text, std::basic_string_view<Char> set) {
    const size_t first = text.find_first_not_of(set);
    return first == std::basic_string_view<Char>::npos ? std::basic_string<Char>()
                                                       : std::basic_string<Char>(text.substr(first));
}

// "%lld" semantics: optional leading white space, an optional sign, digits.
template <typename Char>
int64_t ParseInt64Of(std::basic_string_view<Char> text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        // Like the C library, an out-of-range number saturates.
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (negative) return magnitude == (uint64_t{1} << 63) ? INT64_MIN : -static_cast<int64_t>(magnitude);
    return static_cast<int64_t>(magnitude);
}

bool IsUrlUnreserved(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("-_.!~*'()").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::vector<std::string> SplitAny(std::string_view text, std::string_view separators) {
    return SplitAnyOf(text, separators);
}
std::vector<std::wstring> SplitAny(std::wstring_view text, std::wstring_view separators) {
    return SplitAnyOf(text, separators);
}

int32_t FindFirst(std::string_view text, std::string_view pattern) { return FindFirstOf(text, pattern); }
int32_t FindFirst(std::wstring_view text, std::wstring_view pattern) { return FindFirstOf(text, pattern); }

std::string TrimLeft(std::string_view text, std::string_view set) { return TrimLeftOf(text, set); }
std::wstring TrimLeft(std::wstring_view text, std::wstring_view set) { return TrimLeftOf(text, set); }

std::wstring TrimRight(std::wstring_view text, std::wstring_view set) {
    const size_t last = text.find_last_not_of(set);
    return last == std::wstring_view::npos ? std::wstring() : std::wstring(text.substr(0, last + 1));
}

std::wstring RemoveAll(std::wstring_view text, std::wstring_view pattern) {
    if (pattern.empty() || pattern.size() > text.size()) return std::wstring(text);
    std::wstring result(text);
    for (size_t at = result.find(pattern); at != std::wstring::npos; at = result.find(pattern, at)) {
        result.erase(at, pattern.size());
    }
    return result;
}

std::string ToUpperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

std::string FormatInt64(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64, value);
    return text;
}

std::wstring FormatInt64Wide(int64_t value) {
    const std::string narrow = FormatInt64(value);
    return std::wstring(narrow.begin(), narrow.end());
}

int64_t ParseInt64(std::string_view text) { return ParseInt64Of(text); }
int64_t ParseInt64(std::wstring_view text) { return ParseInt64Of(text); }

std::string UrlEncode(const char* bytes, std::ptrdiff_t count) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    if (bytes == nullptr || count <= 0) return encoded;
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == ' ') {
            encoded += '+';
        } else if (IsUrlUnreserved(c)) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0xF];
        }
    }
    return encoded;
}
