#include "ui/BaseView.h"

#include "core/PkgMessages.h"
#include "sys/Win32Handle.h"
#include "ui/DibCanvas.h"
#include "ui/ImageResource.h"

namespace {

// Mouse messages carry client coordinates as two unsigned 16-bit halves.
void PointOf(LPARAM lParam, int64_t& x, int64_t& y) {
    x = static_cast<int64_t>(lParam & 0xFFFF);
    y = static_cast<int64_t>((lParam >> 16) & 0xFFFF);
}

bool IsSeeThrough(int32_t type) { return type == kTypeBackground || type == kTypeMovie; }

}  // namespace

bool ApplyButtonRule(CImageResource& widget, bool pointed, UINT message) {
    int32_t wanted = kStateNormal;
    if (pointed && message == WM_MOUSEMOVE) wanted = kStateHover;
    if (pointed && message == WM_LBUTTONDOWN) wanted = kStatePressed;
    if (widget.state == wanted) return false;
    widget.state = wanted;
    return true;
}

IBaseView::IBaseView(HWND window, IResourceMgr* resources) : hwnd(window), resourceMgr(resources) {}

IBaseView::~IBaseView() = default;

void IBaseView::DrawWidgets(HDC dc) {
    for (const auto& widget : widgets) {
        if (widget) widget->Draw(dc);
    }
}

LRESULT IBaseView::PaintOpaque(UINT message, WPARAM wParam, LPARAM lParam) {
    {
        WindowDc window(hwnd);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        MemoryDc memory(::CreateCompatibleDC(window.Get()));
        GdiObject bitmap(::CreateCompatibleBitmap(window.Get(), client.right, client.bottom));
        if (memory && bitmap) {
            SelectedObject selected(memory.Get(), bitmap.Get());
            DrawWidgets(memory.Get());
            ::BitBlt(window.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT IBaseView::PaintLayered() {
    PAINTSTRUCT paint{};
    HDC paintDc = ::BeginPaint(hwnd, &paint);
    const LONG exStyle = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    RECT bounds{};
    ::GetWindowRect(hwnd, &bounds);
    {
        CDibCanvas canvas(paintDc, bounds.right - bounds.left, bounds.bottom - bounds.top);
        if (canvas.IsValid()) {
            DrawWidgets(canvas.Dc());
            WindowDc screen(nullptr);
            POINT destination{bounds.left, bounds.top};
            SIZE size{canvas.Width(), canvas.Height()};
            POINT source{0, 0};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::UpdateLayeredWindow(hwnd, screen.Get(), &destination, &size, canvas.Dc(), &source, 0, &blend, ULW_ALPHA);
        }
    }
    ::EndPaint(hwnd, &paint);
    return 0;
}

LRESULT IBaseView::ShowAndActivate(HWND window, bool topmost) {
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    return 0;
}

int32_t IBaseView::HitTest(LPARAM lParam) const {
    int64_t x = 0, y = 0;
    PointOf(lParam, x, y);
    int32_t seeThrough = -1;
    for (size_t i = 0; i < widgets.size(); ++i) {
        const IBaseResource* widget = widgets[i].get();
        if (widget == nullptr || widget->type == kTypeLayout || !widget->rect.Contains(x, y)) continue;
        if (!IsSeeThrough(widget->type)) return static_cast<int32_t>(i);
        seeThrough = static_cast<int32_t>(i);
    }
    return seeThrough >= 0 ? seeThrough : 0;
}

IBaseResource* IBaseView::FindById(int32_t id) const {
    for (const auto& widget : widgets) {
        if (widget && widget->id == id) return widget.get();
    }
    return nullptr;
}

void IBaseView::Invalidate() {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    ::InvalidateRect(hwnd, &client, TRUE);
}

IBaseResource* IBaseView::WidgetAt(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= widgets.size()) return nullptr;
    return widgets[static_cast<size_t>(index)].get();
}

bool IBaseView::UpdateWidgetStates(int32_t index, UINT message) {
    bool changed = false;
    for (size_t i = 0; i < widgets.size(); ++i) {
        IBaseResource* widget = widgets[i].get();
        if (widget == nullptr || widget->type != kTypeButton) continue;
        auto* button = static_cast<CImageResource*>(widget);
        if (button->state == kStateDisabled) continue;
        changed |= ApplyButtonRule(*button, static_cast<int32_t>(i) == index, message);
    }
    return changed;
}

void IBaseView::OnClick(int32_t, LPARAM) {}

void IBaseView::StartWindowMove() {
    ::ReleaseCapture();
    ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

bool IBaseView::HandleSharedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_MOUSEMOVE:
            result = OnMouseMove(wParam, lParam);
            return true;
        case WM_LBUTTONDOWN:
            result = OnButtonDown(wParam, lParam);
            return true;
        case WM_LBUTTONUP:
            result = OnButtonUp(wParam, lParam);
            return true;
        case WM_PKG_CLICK:
            result = OnClickMessage(wParam, lParam);
            return true;
        case WM_PKG_ACTIVATE:
            result = ShowAndActivate(hwnd, true);
            return true;
        default:
            return false;
    }
}

// Only entering another widget can change a state: moving within one widget
// never repaints.
LRESULT IBaseView::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(hwnd, WM_MOUSEMOVE, wParam, lParam);
    const int32_t index = HitTest(lParam);
    if (index == hoverIndex) return result;
    const IBaseResource* widget = WidgetAt(index);
    bool changed = false;
    if (widget != nullptr && widget->type == kTypeButton) {
        changed = UpdateWidgetStates(index, WM_MOUSEMOVE);
    } else if (widget != nullptr && ViewMouseRules::Has(mouseRules.inertTypes, widget->type) && hoverIndex != -1) {
        changed = UpdateWidgetStates(0, WM_MOUSEMOVE);
    }
    if (changed) Invalidate();
    hoverIndex = index;
    return result;
}

LRESULT IBaseView::OnButtonDown(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(hwnd, WM_LBUTTONDOWN, wParam, lParam);
    ::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const int32_t index = HitTest(lParam);
    const IBaseResource* widget = WidgetAt(index);
    if (widget != nullptr && widget->type == kTypeButton &&
        static_cast<const CImageResource*>(widget)->state != kStateDisabled) {
        if (UpdateWidgetStates(index, WM_LBUTTONDOWN)) Invalidate();
        return result;
    }
    if (widget != nullptr && ViewMouseRules::Has(mouseRules.pressableTypes, widget->type)) return result;
    StartWindowMove();
    return result;
}

LRESULT IBaseView::OnButtonUp(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(hwnd, WM_LBUTTONUP, wParam, lParam);
    const int32_t index = HitTest(lParam);
    const IBaseResource* widget = WidgetAt(index);
    if (widget == nullptr || !ViewMouseRules::Has(mouseRules.clickableTypes, widget->type)) return result;
    const bool disabledButton =
        widget->type == kTypeButton && static_cast<const CImageResource*>(widget)->state == kStateDisabled;
    if (disabledButton && !mouseRules.clickDisabledButtons) return result;
    ::PostMessageW(hwnd, WM_PKG_CLICK, static_cast<WPARAM>(index), lParam);
    return result;
}

LRESULT IBaseView::OnClickMessage(WPARAM wParam, LPARAM lParam) {
    const auto index = static_cast<int32_t>(wParam);
    if (WidgetAt(index) == nullptr) return 0;
    OnClick(index, lParam);
    if (UpdateWidgetStates(index, WM_PKG_CLICK)) Invalidate();
    return 0;
}
