// A native edit control placed and shown like a widget. The control paints
// itself; Draw only shows it and asks it to repaint over the fresh view.
//
// Threads: user-interface thread only. The class procedure of "Edit" is kept
// in one process-wide variable, written when a control is subclassed.
#pragma once

#include <string>

#include "sys/Win32Handle.h"
#include "ui/ImageResource.h"

class CEditResource : public CImageResource {
public:
    static constexpr int32_t kId = 5;

    // Creates the control in parent at once; throws "create widget error".
    // Without styles: near-black text, transparent fill and border.
    CEditResource(const WidgetStyleSet* styles, HWND parent);
    ~CEditResource() override;

    bool Draw(HDC dc) override;
    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    HWND Control() const { return hwnd; }
    // The control's current text.
    std::wstring ReadText() const;

    std::wstring text = L"C:/";
    HWND hwnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    GdiObject font_;
};
