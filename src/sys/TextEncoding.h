// Conversions between the program's wide (UTF-16) text, UTF-8 and the system's
// ANSI code page. Each converts up to the first NUL; any failure gives "".
#pragma once

#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
