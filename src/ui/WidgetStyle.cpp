#include "ui/WidgetStyle.h"

#include <windows.h>

namespace {

bool IsWindowsXp() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Deprecated, but reliable for the one question asked here: 5.1 or not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwMajorVersion == 5 && info.dwMinorVersion == 1;
}

}  // namespace

const std::wstring& DefaultFontFamily() {
    static const std::wstring family = IsWindowsXp() ? L"SimHei" : L"Microsoft Yahei";
    return family;
}

WidgetStyle::WidgetStyle() : fontFamily(DefaultFontFamily()) {}
