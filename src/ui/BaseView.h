// The base of every page and dialog body: owns the flat list of widgets that
// make up its surface (creation order is paint order and hit-test order),
// paints them opaquely or into a layered window, and turns mouse input into
// widget states and deferred click messages. A view handles the messages of
// the window it was created for; it has no window of its own.
//
// Threads: user-interface thread only; clicks arrive through that thread's
// message queue, after the mouse-up has been fully processed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ui/BaseResource.h"
#include "ui/ViewMouseRules.h"

class IResourceMgr;
class CImageResource;

class IBaseView {
public:
    IBaseView(HWND window, IResourceMgr* resources);
    virtual ~IBaseView();
    IBaseView(const IBaseView&) = delete;
    IBaseView& operator=(const IBaseView&) = delete;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The dialog bodies' paint: per-pixel alpha, uncovered pixels transparent.
    virtual LRESULT PaintLayered();
    // The pages' paint, for WM_PAINT: an off-screen copy blitted at once.
    virtual LRESULT PaintOpaque(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT ShowAndActivate(HWND window, bool topmost);

    // Index into widgets of the widget under a mouse message's point.
    int32_t HitTest(LPARAM lParam) const;
    // The earliest widget carrying id, or null.
    IBaseResource* FindById(int32_t id) const;
    void Invalidate();
    // Draws every widget in list order on dc.
    void DrawWidgets(HDC dc);

    template <typename Widget>
    Widget* AddWidget(std::unique_ptr<Widget> widget) {
        Widget* raw = widget.get();
        widgets.push_back(std::move(widget));
        return raw;
    }

    HWND hwnd;
    IResourceMgr* resourceMgr;
    std::vector<std::unique_ptr<IBaseResource>> widgets;
    int32_t hoverIndex = -1;

protected:
    // The shared mouse pattern, WM_PKG_CLICK and WM_PKG_ACTIVATE. true when
    // message was one of them; result is what the window procedure returns.
    bool HandleSharedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Applies the page's state rule; true when a state changed. The default
    // manages every enabled button with the basic button rule.
    virtual bool UpdateWidgetStates(int32_t index, UINT message);
    // The page's click handler, dispatching on the id of widgets[index].
    virtual void OnClick(int32_t index, LPARAM lParam);
    // A press on an inert part of the surface moves the borderless window.
    virtual void StartWindowMove();

    ViewMouseRules mouseRules;

private:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnClickMessage(WPARAM wParam, LPARAM lParam);
    IBaseResource* WidgetAt(int32_t index) const;
};

// The basic button rule for one managed widget; true when its state changed.
bool ApplyButtonRule(CImageResource& widget, bool pointed, UINT message);
