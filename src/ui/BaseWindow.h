// The base of every top-level window: a hidden borderless popup centred on
// the work area at its design size scaled for the display, attached to its
// object through the "WndClassPtr" property so that every message reaches
// the object's HandleMessage. Views do the drawing.
//
// Threads: user-interface thread only, including the process-wide DPI factor
// computed on first use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/LayoutMath.h"

class IBaseView;

class IBaseWindow {
public:
    // Creates the hidden window; throws "create window error". parent null
    // gives a top-level application window, otherwise a tool window.
    IBaseWindow(const wchar_t* className, uint32_t designWidth, uint32_t designHeight, HWND parent);
    // Detaches the object; the native window itself is left to its owner.
    virtual ~IBaseWindow();
    IBaseWindow(const IBaseWindow&) = delete;
    IBaseWindow& operator=(const IBaseWindow&) = delete;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Stores the new design size, then resizes and recentres a live window.
    bool ResizeAndCenter(uint32_t width, uint32_t height);
    // The design size on this display; reads the work area into workArea.
    ScaledSize ComputeScaledSize();
    static double GetSystemDpiFactor(HDC screen);
    static LRESULT CALLBACK BaseWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    IntRect workArea;
    uint32_t designWidth;
    uint32_t designHeight;
};

// The modal dialogs' windows: a layered body view that gets every message but
// background erasing, which would flash under the layered paint.
class CDialogWindow : public IBaseWindow {
public:
    CDialogWindow(const wchar_t* className, HWND parent);
    ~CDialogWindow() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    static constexpr uint32_t kDesignWidth = 400;
    static constexpr uint32_t kDesignHeight = 200;

    std::unique_ptr<IBaseView> view;
};
