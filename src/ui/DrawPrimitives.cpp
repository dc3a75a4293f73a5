#include "ui/DrawPrimitives.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The fallback of every font. Fetched at each use rather than once per
// process: a family kept past GdiplusShutdown would be dangling when GDI+
// starts again (each test, each resource manager). Windows hands out a
// static object that must not be deleted, so it is not; Wine allocates one,
// which stays behind only when the named family is missing.
GpFontFamily* GenericSansSerif() {
    GpFontFamily* found = nullptr;
    return GdipGetGenericFontFamilySansSerif(&found) == Ok ? found : nullptr;
}

INT FontStyleOf(const WidgetStyle& style) {
    if (style.bold) return FontStyleBold;
    if (style.underline) return FontStyleUnderline;
    return FontStyleRegular;
}

GdipBrush MakeSolidBrush(uint32_t colour) {
    GpSolidFill* fill = nullptr;
    GdipCreateSolidFill(colour, &fill);
    return GdipBrush(fill);
}

GdipPen MakePen(uint32_t colour, float width) {
    GdipPen pen;
    GdipCreatePen1(colour, width, UnitPixel, pen.Receive());
    return pen;
}

GdipPath RoundedPath(const FloatBox& box, float diameter) {
    GdipPath path;
    if (GdipCreatePath(FillModeAlternate, path.Receive()) != Ok) return path;
    for (const ArcBox& arc : RoundedArcs(box, diameter)) {
        GdipAddPathArc(path.Get(), arc.x, arc.y, arc.width, arc.height, arc.startAngle, 90.0f);
    }
    GdipClosePathFigure(path.Get());
    return path;
}

GdipPath RectanglePath(const IntRect& rect) {
    GdipPath path;
    if (GdipCreatePath(FillModeAlternate, path.Receive()) != Ok) return path;
    const FloatBox box = InnerBox(rect);
    GdipAddPathRectangle(path.Get(), box.x, box.y, box.width, box.height);
    return path;
}

FloatBox WholeBox(const IntRect& rect) {
    return {float(rect.left), float(rect.top), float(rect.Width()), float(rect.Height())};
}

}  // namespace

GdipGraphics CreateWidgetGraphics(HDC dc) {
    GdipGraphics graphics;
    if (GdipCreateFromHDC(dc, graphics.Receive()) != Ok) return graphics;
    GdipSetSmoothingMode(graphics.Get(), SmoothingModeAntiAlias);
    GdipSetPageUnit(graphics.Get(), UnitPixel);
    return graphics;
}

GdipFont CreateStyleFont(const WidgetStyle& style, double scale) {
    const REAL size = static_cast<REAL>(style.fontSize * scale);
    const INT fontStyle = FontStyleOf(style);
    GdipFontFamily named;
    GdipFont font;
    if (GdipCreateFontFamilyFromName(style.fontFamily.c_str(), nullptr, named.Receive()) == Ok &&
        GdipCreateFont(named.Get(), size, fontStyle, UnitPixel, font.Receive()) == Ok) {
        return font;
    }
    if (GpFontFamily* generic = GenericSansSerif()) GdipCreateFont(generic, size, fontStyle, UnitPixel, font.Receive());
    return font;
}

GdipStringFormat CreateStringFormat(int32_t hAlign, int32_t vAlign, bool noWrap) {
    GdipStringFormat format;
    if (GdipCreateStringFormat(0, LANG_NEUTRAL, format.Receive()) != Ok) return format;
    if (hAlign >= kAlignNear && hAlign <= kAlignFar) {
        GdipSetStringFormatAlign(format.Get(), static_cast<StringAlignment>(hAlign));
    }
    if (vAlign >= kAlignNear && vAlign <= kAlignFar) {
        GdipSetStringFormatLineAlign(format.Get(), static_cast<StringAlignment>(vAlign));
    }
    if (noWrap) GdipSetStringFormatFlags(format.Get(), StringFormatFlagsNoWrap);
    GdipSetStringFormatTrimming(format.Get(), StringTrimmingEllipsisCharacter);
    return format;
}

void FillShape(GpGraphics* graphics, uint32_t colour, int32_t radius, const IntRect& rect) {
    GdipPath path = radius > 0 ? RoundedPath(WholeBox(rect), 2.0f * radius) : RectanglePath(rect);
    GdipBrush brush = MakeSolidBrush(colour);
    GdipPen pen = MakePen(colour, 1.0f);
    if (!path) return;
    if (brush) GdipFillPath(graphics, brush.Get(), path.Get());
    if (pen) GdipDrawPath(graphics, pen.Get(), path.Get());
}

void DrawBorder(GpGraphics* graphics, uint32_t colour, int32_t radius, int32_t width, const IntRect& rect) {
    if (width < 1) return;
    if (radius < 1) {
        GdipPath path = RectanglePath(rect);
        GdipPen pen = MakePen(colour, static_cast<float>(width));
        if (path && pen) GdipDrawPath(graphics, pen.Get(), path.Get());
        return;
    }
    GdipPen pen = MakePen(colour, 1.0f);
    if (!pen) return;
    for (const FloatBox& outline : BorderOutlines(WholeBox(rect), width)) {
        GdipPath path = RoundedPath(outline, 2.0f * radius);
        if (path) GdipDrawPath(graphics, pen.Get(), path.Get());
    }
}

void DrawStyledText(GpGraphics* graphics, const std::wstring& text, uint32_t colour, GpFont* font,
                    GpStringFormat* format, const TextBox& box) {
    if (font == nullptr || text.empty()) return;
    const RectF layout(static_cast<REAL>(box.x), static_cast<REAL>(box.y), static_cast<REAL>(box.width),
                       static_cast<REAL>(box.height));
    GdipBrush brush = MakeSolidBrush(colour);
    if (!brush) return;
    INT style = FontStyleRegular;
    GdipGetFontStyle(font, &style);
    if (style == FontStyleUnderline) {
        GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAlias);
        GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), font, &layout, format, brush.Get());
        return;
    }
    GpFontFamily* rawFamily = nullptr;
    if (GdipGetFamily(font, &rawFamily) != Ok) return;
    GdipFontFamily family(rawFamily);
    REAL size = 0;
    GdipGetFontSize(font, &size);
    GdipPath path;
    if (GdipCreatePath(FillModeAlternate, path.Receive()) != Ok) return;
    GdipAddPathString(path.Get(), text.c_str(), static_cast<INT>(text.size()), family.Get(), style, size, &layout,
                      format);
    GdipFillPath(graphics, brush.Get(), path.Get());
}
