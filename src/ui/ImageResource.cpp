#include "ui/ImageResource.h"

#include "ui/DrawPrimitives.h"
#include "ui/UiScale.h"

using namespace Gdiplus::DllExports;

CImageResource::CImageResource(int32_t widgetId, const WidgetStyleSet* styleSet, int32_t typeCode)
    : IBaseResource(typeCode, widgetId), styles(styleSet != nullptr ? *styleSet : WidgetStyleSet{}) {
    rect = {0, 0, 50, 20};
}

const WidgetStyle& CImageResource::CurrentStyle() const {
    return styles[state >= kStateNormal && state <= kStateDisabled ? state : kStateNormal];
}

bool CImageResource::Draw(HDC dc) {
    if (!visible) return true;
    GdipGraphics graphics = CreateWidgetGraphics(dc);
    if (!graphics) return true;
    const WidgetStyle& style = CurrentStyle();
    const double scale = CurrentUiScale();
    const int32_t radius = TruncEdge(style.cornerRadius * scale);
    FillShape(graphics.Get(), style.fillColor, radius, rect);
    DrawPicture(graphics.Get(), image, imageRect);
    DrawBorder(graphics.Get(), style.borderColor, radius, TruncEdge(style.borderWidth * scale), rect);
    DrawContent(graphics.Get());
    return true;
}

void CImageResource::DrawPicture(Gdiplus::GpGraphics* graphics, const CSkinImage* picture, const IntRect& where) {
    if (picture == nullptr || picture->Native() == nullptr) return;
    GdipDrawImageRectI(graphics, picture->Native(), where.left, where.top, static_cast<INT>(where.Width()),
                       static_cast<INT>(where.Height()));
}

bool CImageResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect = FitAspect(ApplyOutset({left, top, right, bottom}, outsetX, outsetY, CurrentUiScale()), aspectRatio);
    if (image != nullptr) FitImage(rect, image->Width(), image->Height(), imageRect);
    return true;
}

void CImageResource::SetImage(CSkinImage* picture) {
    if (picture == image) return;
    image = picture;
    if (image != nullptr) FitImage(rect, image->Width(), image->Height(), imageRect);
}
