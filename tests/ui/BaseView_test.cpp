// The test view in real windows under Wine: hit testing, the hover rule,
// presses and clicks, opaque and layered painting, and a screenshot of the
// whole surface saved under the build tree.
#include <gtest/gtest.h>

#include "core/PkgMessages.h"
#include "core/SharedSettings.h"
#include "sys/CorvanError.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/TestView.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DibCanvas.h"
#include "ui/DrawPrimitives.h"

namespace {

using uitest::CentreOf;
using uitest::CTestView;
using uitest::Hex;
using uitest::Near;

class CTestWindow : public IBaseWindow {
public:
    CTestWindow(uint32_t width, uint32_t height) : IBaseWindow(L"TarvelUiTestWindow", width, height, nullptr) {}
    ~CTestWindow() override {
        view.reset();
        ::DestroyWindow(hwnd);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_ERASEBKGND) return 1;
        if (view) return view->HandleMessage(message, wParam, lParam);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    std::unique_ptr<CTestView> view;
};

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin_ = new CResourceManager(&logger_, cache_.Folder());
        window_ = std::make_unique<CTestWindow>(600, 400);
        window_->view = std::make_unique<CTestView>(window_->hwnd, skin_, false);
        view().Build();
    }
    void TearDown() override {
        window_.reset();
        skin_->Release();
    }
    CTestView& view() { return *window_->view; }
    void ShowAndSettle() {
        ::ShowWindow(window_->hwnd, SW_SHOWNORMAL);
        ::UpdateWindow(window_->hwnd);
        uitest::PumpMessages();
        view().paints = 0;
    }
    LRESULT Send(UINT message, LPARAM lParam) { return ::SendMessageW(window_->hwnd, message, 0, lParam); }
    int32_t IndexOf(const IBaseResource* widget) {
        for (size_t i = 0; i < view().widgets.size(); ++i) {
            if (view().widgets[i].get() == widget) return static_cast<int32_t>(i);
        }
        return -1;
    }

    SharedSettingsScope settings_;
    ScratchFolder cache_;
    RecordingLogger logger_;
    CResourceManager* skin_ = nullptr;
    std::unique_ptr<CTestWindow> window_;
};

TEST_F(ViewTest, HitTestFindsTheTopmostSolidWidget) {
    CTestView& v = view();
    EXPECT_EQ(v.HitTest(CentreOf(*v.title)), IndexOf(v.title));
    EXPECT_EQ(v.HitTest(CentreOf(*v.install)), IndexOf(v.install));
    // Only the background is there: the last see-through hit, not the root.
    const int32_t background = IndexOf(v.FindById(uitest::kBackgroundId));
    ASSERT_GT(background, 0);
    EXPECT_EQ(v.HitTest(MAKELPARAM(5, 2)), background);  // in the title row's margin
    // Outside every widget: index 0, the root layout.
    EXPECT_EQ(v.HitTest(MAKELPARAM(1000, 1000)), 0);
}

TEST_F(ViewTest, FindByIdReturnsTheEarliestCarrier) {
    CTestView& v = view();
    // Three layouts share one id; the title row comes first.
    const IBaseResource* row = v.FindById(uitest::kRowId);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->type, kTypeLayout);
    EXPECT_EQ(row->rect.top, 0);
    EXPECT_EQ(v.FindById(uitest::kInstallId), v.install);
    EXPECT_EQ(v.FindById(CEditResource::kId), v.edit);
    EXPECT_EQ(v.FindById(12345), nullptr);

    CTestView empty(window_->hwnd, nullptr, false);
    EXPECT_EQ(empty.FindById(uitest::kRootId), nullptr);
    EXPECT_EQ(empty.HitTest(MAKELPARAM(10, 10)), 0);
}

TEST_F(ViewTest, EnteringAButtonRepaintsOnceAndMovingWithinItNever) {
    ShowAndSettle();
    CTestView& v = view();
    const IntRect r = v.install->rect;
    Send(WM_MOUSEMOVE, MAKELPARAM(r.left + 2, r.top + 2));
    uitest::PumpMessages();
    EXPECT_EQ(v.install->state, kStateHover);
    EXPECT_EQ(v.paints, 1);
    for (int step = 3; step < 20; ++step)
        Send(WM_MOUSEMOVE, MAKELPARAM(r.left + step, r.top + 3));
    uitest::PumpMessages();
    EXPECT_EQ(v.paints, 1);

    // Leaving for inert text returns the button to normal: one more paint.
    Send(WM_MOUSEMOVE, CentreOf(*v.title));
    uitest::PumpMessages();
    EXPECT_EQ(v.install->state, kStateNormal);
    EXPECT_EQ(v.paints, 2);
}

TEST_F(ViewTest, PressAndReleaseOnAButtonClickThroughTheQueue) {
    ShowAndSettle();
    CTestView& v = view();
    Send(WM_LBUTTONDOWN, CentreOf(*v.install));
    EXPECT_EQ(v.install->state, kStatePressed);
    EXPECT_EQ(v.moves, 0);
    Send(WM_LBUTTONUP, CentreOf(*v.install));
    // Deferred: nothing has run before the queue is pumped.
    EXPECT_TRUE(v.clickedIds.empty());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, window_->hwnd, WM_PKG_CLICK, WM_PKG_CLICK, PM_NOREMOVE));
    EXPECT_EQ(static_cast<int32_t>(msg.wParam), IndexOf(v.install));
    EXPECT_EQ(msg.lParam, CentreOf(*v.install));
    uitest::PumpMessages();
    EXPECT_EQ(v.clickedIds, std::vector<int32_t>{uitest::kInstallId});
    EXPECT_EQ(v.install->state, kStateNormal);
}

TEST_F(ViewTest, DisabledButtonDragsTheWindowAndNeverClicks) {
    ShowAndSettle();
    CTestView& v = view();
    Send(WM_MOUSEMOVE, CentreOf(*v.later));
    Send(WM_LBUTTONDOWN, CentreOf(*v.later));
    EXPECT_EQ(v.later->state, kStateDisabled);
    EXPECT_EQ(v.moves, 1);
    Send(WM_LBUTTONUP, CentreOf(*v.later));
    uitest::PumpMessages();
    EXPECT_TRUE(v.clickedIds.empty());

    // A check box is pressed in place; text drags.
    const IBaseResource* agree = v.FindById(uitest::kAgreeId);
    Send(WM_LBUTTONDOWN, CentreOf(*agree));
    EXPECT_EQ(v.moves, 1);
    Send(WM_LBUTTONDOWN, CentreOf(*v.title));
    EXPECT_EQ(v.moves, 2);
    Send(WM_LBUTTONUP, CentreOf(*agree));
    uitest::PumpMessages();
    EXPECT_EQ(v.clickedIds, std::vector<int32_t>{uitest::kAgreeId});
}

TEST_F(ViewTest, EditBoxIsASubclassedNativeControlPlacedLikeAWidget) {
    CEditResource& edit = *view().edit;
    const HWND control = edit.Control();
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_EQ(::GetParent(control), window_->hwnd);
    EXPECT_EQ(::GetDlgCtrlID(control), CEditResource::kId);
    EXPECT_EQ(::GetPropW(control, L"EditClassPtr"), &edit);
    const auto classProc = ::GetClassLongPtrW(control, GCLP_WNDPROC);
    EXPECT_NE(::GetWindowLongPtrW(control, GWLP_WNDPROC), classProc);
    EXPECT_EQ(edit.ReadText(), L"C:/");
    ::SetWindowTextW(control, L"D:/Tarvel");
    EXPECT_EQ(edit.ReadText(), L"D:/Tarvel");

    RECT placed{};
    ::GetWindowRect(control, &placed);
    ::MapWindowPoints(nullptr, window_->hwnd, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((IntRect{placed.left, placed.top, placed.right, placed.bottom}), edit.rect);

    edit.visible = false;
    edit.Draw(nullptr);
    EXPECT_FALSE(::IsWindowVisible(control));

    // The control outlives its widget and gets its own procedure back.
    window_->view.reset();
    EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_WNDPROC), classProc);
    EXPECT_EQ(::GetPropW(control, L"EditClassPtr"), nullptr);
}

TEST(EditBox, WithoutAParentWindowConstructionFails) {
    try {
        CEditResource edit(nullptr, nullptr);
        FAIL() << "created";
    } catch (const CorvanError& e) {
        EXPECT_STREQ(e.what(), "create widget error");
    }
}

TEST_F(ViewTest, ActivateMessageShowsTheWindowOnTop) {
    ASSERT_FALSE(::IsWindowVisible(window_->hwnd));
    EXPECT_EQ(Send(WM_PKG_ACTIVATE, 0), 0);
    EXPECT_TRUE(::IsWindowVisible(window_->hwnd));
    EXPECT_NE(::GetWindowLongW(window_->hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

// The acceptance picture: every widget type in one window, saved as
// <build>/artifacts/ui-test-view.png and checked at a few sampled pixels.
TEST_F(ViewTest, TestViewRendersOnScreen) {
    ShowAndSettle();
    CTestView& v = view();
    ::RedrawWindow(window_->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    uitest::PumpMessages();
    ASSERT_GE(v.paints, 1);

    CDibCanvas shot(nullptr, 600, 400);
    ASSERT_TRUE(shot.CopyFromWindow(window_->hwnd));
    CreateDirectoryPath(uitest::BuildTreePath("/artifacts"));
    EXPECT_TRUE(shot.SavePng(uitest::BuildTreePath("/artifacts/ui-test-view.png")));

    const IntRect install = v.install->rect;
    EXPECT_TRUE(Near(shot.Pixel(install.left + 12, install.top + 4), 0xFF00CB87))
        << Hex(shot.Pixel(install.left + 12, install.top + 4));
    const IntRect bar = v.progress->barRect;
    EXPECT_TRUE(Near(shot.Pixel(bar.left + 10, (bar.top + bar.bottom) / 2), 0xFF00CB87, 16));
    const IntRect track = v.progress->rect;
    EXPECT_TRUE(Near(shot.Pixel(track.right - 10, (track.top + track.bottom) / 2), 0xFFE6EBE8, 16));
    // The native edit control painted itself over the view: white inside.
    const IntRect edit = v.edit->rect;
    EXPECT_TRUE(Near(shot.Pixel(edit.right - 30, (edit.top + edit.bottom) / 2), 0xFFFFFFFF, 16));
    // The light background picture fills the corner below the buttons.
    const uint32_t corner = shot.Pixel(300, 396);
    EXPECT_GT(uitest::Channel(corner, 8), 240) << Hex(corner);
    // The title was drawn: some dark pixels in its rectangle.
    int dark = 0;
    for (int32_t x = v.title->rect.left; x < v.title->rect.right; ++x) {
        for (int32_t y = v.title->rect.top; y < v.title->rect.bottom; ++y)
            dark += uitest::Channel(shot.Pixel(x, y), 8) < 100;
    }
    EXPECT_GT(dark, 50);
}

class LayeredTest : public ::testing::Test {
protected:
    SharedSettingsScope settings_;
    GdiplusSession gdiplus_;
};

// A dialog body: a rounded card that leaves the window's corners uncovered.
TEST_F(LayeredTest, DialogGainsLayeredStyleAndLeavesUncoveredPixelsTransparent) {
    CDialogWindow dialog(L"TarvelUiTestDialog", nullptr);
    auto view = std::make_unique<CTestView>(dialog.hwnd, nullptr, true);
    WidgetStyleSet card;
    card[kStateNormal].fillColor = 0xFFFFFFFF;
    card[kStateNormal].cornerRadius = 12;
    CImageResource* body = view->AddWidget(std::make_unique<CImageResource>(1, &card, kTypeBackground));
    body->SetRect(10, 10, 390, 190);
    CTestView* raw = view.get();
    dialog.view = std::move(view);

    EXPECT_EQ(::GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    // On screen, the uncovered corners show the window below it.
    RECT r{};
    ::GetWindowRect(dialog.hwnd, &r);
    WindowHandle below(::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, r.left, r.top, 400, 200, nullptr,
                                         nullptr, nullptr, nullptr));
    ::UpdateWindow(below.Get());
    ::ShowWindow(dialog.hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(dialog.hwnd);
    uitest::PumpMessages();
    EXPECT_GE(raw->paints, 1);
    EXPECT_NE(::GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    CDibCanvas screen(nullptr, 400, 200);
    WindowDc desktop(nullptr);
    ::BitBlt(screen.Dc(), 0, 0, 400, 200, desktop.Get(), r.left, r.top, SRCCOPY);
    CreateDirectoryPath(uitest::BuildTreePath("/artifacts"));
    screen.SavePng(uitest::BuildTreePath("/artifacts/ui-layered-dialog.png"));
    const uint32_t centre = screen.Pixel(200, 100) & 0xFFFFFF;
    const uint32_t corner = screen.Pixel(2, 2) & 0xFFFFFF;
    EXPECT_EQ(centre, 0xFFFFFFu) << Hex(centre);
    // Neither the card nor the bitmap's transparent black: the window below.
    EXPECT_NE(corner, 0xFFFFFFu) << Hex(corner);
    EXPECT_NE(corner, 0u) << Hex(corner);

    CDibCanvas canvas(nullptr, 400, 200);
    raw->DrawWidgets(canvas.Dc());
    EXPECT_EQ(canvas.Pixel(2, 2), 0u);
    EXPECT_EQ(canvas.Pixel(11, 11), 0u);  // inside the rectangle, outside its rounded corner
    EXPECT_EQ(canvas.Pixel(395, 100), 0u);
    EXPECT_TRUE(Near(canvas.Pixel(200, 100), 0xFFFFFFFF)) << Hex(canvas.Pixel(200, 100));
    dialog.view.reset();
    ::DestroyWindow(dialog.hwnd);
}

}  // namespace
