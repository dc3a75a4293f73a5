#include "ui/ProgressResource.h"

#include "ui/DrawPrimitives.h"

namespace {

WidgetStyleSet ProgressDefaults() {
    WidgetStyleSet set;
    set[kStateNormal].textColor = 0xFF4197FF;
    set[kStateNormal].fillColor = 0xFFEEEEEE;
    set[kStateNormal].cornerRadius = 100;
    return set;
}

}  // namespace

CProgressResource::CProgressResource(const WidgetStyleSet* styleSet) : CImageResource(kId, nullptr, kTypeProgress) {
    styles = styleSet != nullptr ? *styleSet : ProgressDefaults();
}

bool CProgressResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    CImageResource::SetRect(left, top, right, bottom);
    barRect = PlaceBar(rect, percent);
    return true;
}

void CProgressResource::SetPercent(uint32_t value) {
    percent = value;
    barRect = PlaceBar(rect, percent);
}

void CProgressResource::DrawContent(Gdiplus::GpGraphics* graphics) {
    // An empty bar would still leave its 1-pixel outline.
    if (barRect.Width() <= 0) return;
    const WidgetStyle& style = CurrentStyle();
    FillShape(graphics, style.textColor, style.cornerRadius, barRect);
}
