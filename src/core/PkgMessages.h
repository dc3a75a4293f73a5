// The installer's own window messages, all posted, all in the application range.
#pragma once

#include <windows.h>

inline constexpr UINT WM_PKG_GOTO_PAGE = 0x806A;  // wParam: page number
inline constexpr UINT WM_PKG_CLICK = 0x806B;      // wParam: widget index, lParam: mouse-up lParam
inline constexpr UINT WM_PKG_TRAY = 0x806E;       // lParam: the mouse message
inline constexpr UINT WM_PKG_CANCEL_CONFIRMED = 0x8072;
inline constexpr UINT WM_PKG_RETRY = 0x8073;
inline constexpr UINT WM_PKG_DOWNLOAD_FAILED = 0x8076;
inline constexpr UINT WM_PKG_INSTALL_FAILED = 0x8077;
inline constexpr UINT WM_PKG_PROGRESS = 0x807B;
inline constexpr UINT WM_PKG_REPAINT = 0x807C;
inline constexpr UINT WM_PKG_OPEN_WELCOME = 0x807D;
inline constexpr UINT WM_PKG_ACTIVATE = 0x80FF;  // WM_APP + 255

// Page numbers carried by WM_PKG_GOTO_PAGE.
enum PageNumber : WPARAM {
    kPageReminder = 0,
    kPageFirst = 1,
    kPageCustomInstall = 2,
    kPageProgress = 3,
    kPageFinished = 4,
};
