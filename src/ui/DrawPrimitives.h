// The few shapes every widget is drawn from, on one GDI+ graphics object per
// Draw call. All sizes are pixels; failing GDI+ calls leave the element undrawn.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/GdiplusObjects.h"
#include "ui/LayoutMath.h"
#include "ui/WidgetStyle.h"

// A graphics object on dc with anti-aliased smoothing.
GdipGraphics CreateWidgetGraphics(HDC dc);

// The style's font at fontSize x scale pixels: bold, else underline, else
// regular; the generic sans-serif family when the named one is missing.
GdipFont CreateStyleFont(const WidgetStyle& style, double scale);

// alignment values 0 to 2 are applied, others keep the format's default;
// vAlign < 0 keeps the vertical default too.
GdipStringFormat CreateStringFormat(int32_t hAlign, int32_t vAlign, bool noWrap);

// rect filled with colour; rounded when radius > 0.
void FillShape(Gdiplus::GpGraphics* graphics, uint32_t colour, int32_t radius, const IntRect& rect);
// A border width pixels thick growing inwards; rounded when radius >= 1.
void DrawBorder(Gdiplus::GpGraphics* graphics, uint32_t colour, int32_t radius, int32_t width, const IntRect& rect);
// Underlined text is drawn as text; any other as a filled glyph path, which
// keeps its alpha on a layered window.
void DrawStyledText(Gdiplus::GpGraphics* graphics, const std::wstring& text, uint32_t colour, Gdiplus::GpFont* font,
                    Gdiplus::GpStringFormat* format, const TextBox& box);
