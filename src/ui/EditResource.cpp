#include "ui/EditResource.h"

#include "sys/CorvanError.h"
#include "ui/UiScale.h"

namespace {

constexpr wchar_t kEditProperty[] = L"EditClassPtr";
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_AUTOHSCROLL;
constexpr int kInitialWidth = 100;
constexpr int kInitialHeight = 25;

WNDPROC g_editClassProc = nullptr;

WidgetStyleSet EditDefaults() {
    WidgetStyleSet set;
    for (WidgetStyle& s : set) {
        s.textColor = 0xFF1A1A1A;
        s.fillColor = 0x00FFFFFF;
        s.borderColor = 0x00FFFFFF;
    }
    return set;
}

}  // namespace

CEditResource::CEditResource(const WidgetStyleSet* styleSet, HWND parent) : CImageResource(kId, nullptr, kTypeEdit) {
    styles = styleSet != nullptr ? *styleSet : EditDefaults();
    hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", text.c_str(), kEditStyle, 0, 0, kInitialWidth, kInitialHeight,
                             parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), nullptr, nullptr);
    if (hwnd == nullptr) throw CorvanError("create widget error");
    g_editClassProc = reinterpret_cast<WNDPROC>(::GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
    ::SetPropW(hwnd, kEditProperty, this);

    const WidgetStyle& normal = styles[kStateNormal];
    font_.Reset(::CreateFontW(-TruncEdge(CurrentUiScale() * normal.fontSize), 0, 0, 0, 0, FALSE, FALSE, FALSE, 0,
                              OUT_TT_PRECIS, 0, 0, 0, normal.fontFamily.c_str()));
    ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), 0);
}

// The control outlives the widget (it goes with its parent): it gets its own
// procedure back and stops using a font about to be deleted.
CEditResource::~CEditResource() {
    if (!::IsWindow(hwnd)) return;
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_editClassProc));
    ::RemovePropW(hwnd, kEditProperty);
    ::SendMessageW(hwnd, WM_SETFONT, 0, 0);
}

LRESULT CALLBACK CEditResource::SubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (::GetPropW(control, kEditProperty) == nullptr || g_editClassProc == nullptr) {
        return ::DefWindowProcW(control, message, wParam, lParam);
    }
    // No sunken frame: the view draws the box the control sits in.
    if (message == WM_NCPAINT && (::GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) return 0;
    return ::CallWindowProcW(g_editClassProc, control, message, wParam, lParam);
}

// Like every widget, a hidden edit box draws nothing: its control is hidden.
bool CEditResource::Draw(HDC) {
    if (!visible) {
        ::ShowWindow(hwnd, SW_HIDE);
        return true;
    }
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

bool CEditResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    CImageResource::SetRect(left, top, right, bottom);
    ::SetWindowPos(hwnd, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetWindowPos(hwnd, nullptr, 0, 0, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()),
                   SWP_NOMOVE | SWP_NOZORDER);
    return true;
}

std::wstring CEditResource::ReadText() const {
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring value(static_cast<size_t>(length) + 1, L'\0');
    value.resize(static_cast<size_t>(::GetWindowTextW(hwnd, value.data(), length + 1)));
    return value;
}
