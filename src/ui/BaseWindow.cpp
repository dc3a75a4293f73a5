#include "ui/BaseWindow.h"

#include "core/AppInstance.h"
#include "core/SharedSettings.h"
#include "sys/CorvanError.h"
#include "sys/Win32Handle.h"
#include "ui/BaseView.h"
#include "ui/UiScale.h"

namespace {

constexpr wchar_t kObjectProperty[] = L"WndClassPtr";
constexpr wchar_t kWindowTitle[] = L"Tarvel";
constexpr WORD kAppIconId = 102;

HINSTANCE InstanceFor(HWND parent) {
    if (parent != nullptr) return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (HINSTANCE own = GetAppInstance()) return own;
    return ::GetModuleHandleW(nullptr);
}

bool RegisterWindowClass(const wchar_t* className, HINSTANCE instance) {
    WNDCLASSEXW known{};
    known.cbSize = sizeof(known);
    if (::GetClassInfoExW(nullptr, className, &known)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &IBaseWindow::BaseWindowProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Computed once per process: the display does not change its DPI under us.
double ProcessDpiFactor() {
    static const double factor = [] {
        WindowDc screen(nullptr);
        return IBaseWindow::GetSystemDpiFactor(screen.Get());
    }();
    return factor;
}

}  // namespace

IBaseWindow::IBaseWindow(const wchar_t* className, uint32_t width, uint32_t height, HWND parent)
    : designWidth(width), designHeight(height) {
    const HINSTANCE instance = InstanceFor(parent);
    const ScaledSize size = ComputeScaledSize();
    SetCurrentUiScale(size.scale);
    if (!RegisterWindowClass(className, instance)) throw CorvanError("create window error");
    int32_t x = 0, y = 0;
    CenteredOrigin(workArea, size.width, size.height, x, y);
    const DWORD exStyle = parent != nullptr ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
    HWND created = ::CreateWindowExW(exStyle, className, kWindowTitle, WS_POPUP, x, y, RoundEdge(size.width),
                                     RoundEdge(size.height), parent, nullptr, instance, nullptr);
    if (created == nullptr) throw CorvanError("create window error");
    hwnd = created;
    ::SetPropW(hwnd, kObjectProperty, this);
}

IBaseWindow::~IBaseWindow() {
    if (hwnd != nullptr && ::IsWindow(hwnd) && ::GetPropW(hwnd, kObjectProperty) == this) {
        ::RemovePropW(hwnd, kObjectProperty);
    }
}

ScaledSize IBaseWindow::ComputeScaledSize() {
    RECT area{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return {double(designWidth), double(designHeight), 1.0};
    workArea = {area.left, area.top, area.right, area.bottom};
    const double dpi = ProcessDpiFactor();
    if (SharedSettings* settings = GetSharedSettings()) settings->dpiFactor = dpi;
    return ::ComputeScaledSize(workArea.Width(), workArea.Height(), designWidth, designHeight, dpi);
}

double IBaseWindow::GetSystemDpiFactor(HDC screen) {
    return DpiFactorFromCaps(::GetDeviceCaps(screen, DESKTOPHORZRES), ::GetDeviceCaps(screen, HORZRES),
                             ::GetDeviceCaps(screen, LOGPIXELSX));
}

bool IBaseWindow::ResizeAndCenter(uint32_t width, uint32_t height) {
    designWidth = width;
    designHeight = height;
    if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
    const ScaledSize size = ComputeScaledSize();
    SetCurrentUiScale(size.scale);
    int32_t x = 0, y = 0;
    CenteredOrigin(workArea, size.width, size.height, x, y);
    const bool resized = ::SetWindowPos(hwnd, nullptr, 0, 0, RoundEdge(size.width), RoundEdge(size.height),
                                        SWP_NOMOVE | SWP_NOZORDER) != FALSE;
    const bool moved = ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != FALSE;
    return resized && moved;
}

LRESULT CALLBACK IBaseWindow::BaseWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* object = static_cast<IBaseWindow*>(::GetPropW(window, kObjectProperty))) {
        return object->HandleMessage(message, wParam, lParam);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

CDialogWindow::CDialogWindow(const wchar_t* className, HWND parent)
    : IBaseWindow(className, kDesignWidth, kDesignHeight, parent) {}

CDialogWindow::~CDialogWindow() = default;

LRESULT CDialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 0;
    if (view) return view->HandleMessage(message, wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
