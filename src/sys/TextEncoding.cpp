#include "sys/TextEncoding.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    const int size = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(size) + 1, L'\0');
    if (::MultiByteToWideChar(codePage, 0, text.c_str(), -1, buffer.data(), size) <= 0) return {};
    return buffer.data();
}

std::string FromWide(UINT codePage, const std::wstring& text) {
    const int size = ::WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    if (::WideCharToMultiByte(codePage, 0, text.c_str(), -1, buffer.data(), size, nullptr, nullptr) <= 0) return {};
    return buffer.data();
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) { return ToWide(CP_ACP, text); }
std::string WideToAnsi(const std::wstring& text) { return FromWide(CP_ACP, text); }
std::string WideToUtf8(const std::wstring& text) { return FromWide(CP_UTF8, text); }
std::wstring Utf8ToWide(const std::string& text) { return ToWide(CP_UTF8, text); }
