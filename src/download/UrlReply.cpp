#include "download/UrlReply.h"

#include <array>
#include <cwctype>

#include "sys/TextOps.h"

namespace {

constexpr std::string_view kContentLength = "Content-Length:";
constexpr std::string_view kFileNameKey = "filename=";
constexpr std::string_view kLocation = "Location:";
// Leaves room for the product data folder in front within MAX_PATH.
constexpr size_t kMaxFileNameChars = 128;

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool IsForbiddenNameChar(wchar_t c) {
    return c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, also with an extension, open a
// device instead of a file.
bool IsDeviceName(std::wstring_view name) {
    const std::wstring_view stem = name.substr(0, name.find(L'.'));
    std::wstring upper;
    for (wchar_t c : stem)
        upper += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    upper = TrimRight(upper, L" ");
    static constexpr std::array<std::wstring_view, 4> kPlain = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (std::wstring_view device : kPlain)
        if (upper == device) return true;
    const bool numbered = upper.size() == 4 && (upper.compare(0, 3, L"COM") == 0 || upper.compare(0, 3, L"LPT") == 0);
    return numbered && upper[3] >= L'0' && upper[3] <= L'9';
}

}  // namespace

int64_t ContentLengthFromHeaders(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.size() > kContentLength.size() && StartsWith(line, kContentLength))
            return ParseInt64(std::string_view(line).substr(kContentLength.size()));
    }
    return 0;
}

std::string FileNameFromHeaders(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const size_t at = line.find(kFileNameKey);
        if (at == std::string::npos) continue;
        const std::vector<std::string> pieces = SplitAny(std::string_view(line).substr(at + kFileNameKey.size()), "\"");
        return pieces.empty() ? std::string() : pieces.front();
    }
    return {};
}

std::string RedirectTarget(const std::vector<std::string>& lines, std::string_view host, int32_t port) {
    for (const std::string& line : lines) {
        if (!StartsWith(line, kLocation)) continue;
        std::string target = TrimLeft(std::string_view(line).substr(kLocation.size()), " ");
        if (!StartsWith(target, "http") && StartsWith(target, "/"))
            target = "http://" + std::string(host) + ":" + FormatInt64(port) + target;
        return target;
    }
    return {};
}

std::wstring SafePackageFileName(std::wstring_view name) {
    const size_t lastSeparator = name.find_last_of(L"\\/:");
    if (lastSeparator != std::wstring_view::npos) name.remove_prefix(lastSeparator + 1);
    std::wstring safe;
    for (wchar_t c : name)
        if (!IsForbiddenNameChar(c)) safe += c;
    // Windows drops trailing dots and blanks, which turns ".." into a folder.
    safe = TrimRight(safe, L". ");
    if (safe.empty() || safe.size() > kMaxFileNameChars || IsDeviceName(safe)) return {};
    return safe;
}

std::wstring MadeUpPackageName(std::wstring_view ownFileName, std::wstring_view version) {
    std::wstring name(ownFileName);
    const size_t dot = name.rfind(L'.');
    const size_t separator = name.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (separator == std::wstring::npos || dot > separator))
        name = RemoveAll(name, name.substr(dot));
    if (FindFirst(name, L"_install") < 0) name += L"_install";
    if (!version.empty()) {
        name += L"_v";
        name += version;
    }
    return name + L".exe";
}
