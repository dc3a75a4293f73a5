// The window base under Wine (96 dpi, landscape work area): creation size and
// place, the scale it publishes, class registration, styles and routing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/SharedSettings.h"
#include "sys/CorvanError.h"
#include "sys/Win32Handle.h"
#include "ui/BaseWindow.h"

namespace {

class CProbeWindow : public IBaseWindow {
public:
    CProbeWindow(const wchar_t* name, uint32_t width, uint32_t height, HWND parent)
        : IBaseWindow(name, width, height, parent) {}
    ~CProbeWindow() override { ::DestroyWindow(hwnd); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::vector<UINT> seen;
};

RECT WorkArea() {
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT Bounds(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

class WindowTest : public ::testing::Test {
protected:
    SharedSettingsScope settings_;
};

TEST_F(WindowTest, CreatedHiddenAtDesignSizeCentredOnTheWorkArea) {
    WindowDc screen(nullptr);
    ASSERT_DOUBLE_EQ(IBaseWindow::GetSystemDpiFactor(screen.Get()), 1.0);  // Wine's default 96 dpi
    settings_.Get().uiScale = 3.0;
    CProbeWindow window(L"TarvelProbeMain", 600, 400, nullptr);
    ASSERT_NE(window.hwnd, nullptr);
    EXPECT_FALSE(::IsWindowVisible(window.hwnd));
    EXPECT_DOUBLE_EQ(settings_.Get().uiScale, 1.0);
    EXPECT_DOUBLE_EQ(settings_.Get().dpiFactor, 1.0);
    const RECT r = Bounds(window.hwnd);
    const RECT area = WorkArea();
    EXPECT_EQ(r.right - r.left, 600);
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_EQ(r.left, area.right / 2 - 300);
    EXPECT_EQ(r.top, area.bottom / 2 - 200);
    EXPECT_EQ(window.workArea.right, area.right);
    EXPECT_EQ(::GetWindowLongW(window.hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), WS_POPUP);
    EXPECT_NE(::GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    wchar_t title[16] = {};
    ::GetWindowTextW(window.hwnd, title, 16);
    EXPECT_STREQ(title, L"Tarvel");
}

TEST_F(WindowTest, CreationMessagesGoToTheDefaultProcedureThenToTheObject) {
    CProbeWindow window(L"TarvelProbeMain", 600, 400, nullptr);
    for (UINT early : {WM_NCCREATE, WM_CREATE}) {
        EXPECT_EQ(std::count(window.seen.begin(), window.seen.end(), early), 0) << early;
    }
    ::SendMessageW(window.hwnd, WM_NULL, 0, 0);
    ASSERT_FALSE(window.seen.empty());
    EXPECT_EQ(window.seen.back(), static_cast<UINT>(WM_NULL));
}

TEST_F(WindowTest, DialogsAreToolWindowsAndShareTheirClass) {
    CProbeWindow main(L"TarvelProbeMain", 600, 400, nullptr);
    CProbeWindow first(L"TarvelProbeDialog", 400, 200, main.hwnd);
    CProbeWindow second(L"TarvelProbeDialog", 400, 200, main.hwnd);
    for (const CProbeWindow* dialog : {&first, &second}) {
        ASSERT_NE(dialog->hwnd, nullptr);
        EXPECT_NE(::GetWindowLongW(dialog->hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
        EXPECT_EQ(::GetWindow(dialog->hwnd, GW_OWNER), main.hwnd);
        const RECT r = Bounds(dialog->hwnd);
        EXPECT_EQ(r.right - r.left, 400);
    }
}

TEST_F(WindowTest, ResizeAndCenterFollowsTheNewDesignSize) {
    CProbeWindow window(L"TarvelProbeMain", 600, 400, nullptr);
    ASSERT_TRUE(window.ResizeAndCenter(400, 200));
    const RECT r = Bounds(window.hwnd);
    const RECT area = WorkArea();
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_EQ(r.left, area.right / 2 - 200);
    EXPECT_EQ(r.top, area.bottom / 2 - 100);

    ::DestroyWindow(window.hwnd);
    EXPECT_FALSE(window.ResizeAndCenter(600, 400));
    EXPECT_EQ(window.designWidth, 600u);
    EXPECT_EQ(window.designHeight, 400u);
}

TEST_F(WindowTest, FailedCreationThrowsItsText) {
    // A parent that is no window makes CreateWindowExW fail.
    try {
        CProbeWindow window(L"TarvelProbeDialog", 400, 200, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0)));
        FAIL() << "created";
    } catch (const CorvanError& e) {
        EXPECT_STREQ(e.what(), "create window error");
    }
}

}  // namespace
