#include "ui/ButtonResource.h"

#include <utility>

#include "ui/DrawPrimitives.h"
#include "ui/UiScale.h"

namespace {

bool IsState(int32_t value) { return value >= kStateNormal && value <= kStateDisabled; }

}  // namespace

CButtonResource::CButtonResource(int32_t widgetId, std::wstring caption, const WidgetStyleSet* styleSet)
    : CImageResource(widgetId, nullptr, kTypeButton), text(std::move(caption)) {
    styles = styleSet != nullptr ? *styleSet : DefaultStyles();
}

WidgetStyleSet CButtonResource::DefaultStyles() {
    WidgetStyleSet set;
    const uint32_t fills[] = {0xFF4197FF, 0xFF62A6FB, 0xFF1873DE, 0xFFD8D8D8};
    for (int32_t i = 0; i < 4; ++i) {
        WidgetStyle& s = set[i];
        s.textColor = 0xFFFFFFFF;
        s.borderWidth = 0;
        s.cornerRadius = 2;
        s.borderColor = 0x00FFFFFF;
        s.hAlign = kAlignCentre;
        s.vAlign = kAlignCentre;
        s.fillColor = fills[i];
    }
    return set;
}

bool CButtonResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    CImageResource::SetRect(left, top, right, bottom);
    PlaceIcon();
    return true;
}

void CButtonResource::SetStateImage(int32_t forState, CSkinImage* picture) {
    if (!IsState(forState) || stateImages[forState] == picture) return;
    stateImages[forState] = picture;
    PlaceIcon();
}

// Placed from the icon of the current state; a disabled button keeps the
// place of the state it was disabled from.
void CButtonResource::PlaceIcon() {
    if (state < kStateNormal || state > kStatePressed) return;
    const CSkinImage* icon = stateImages[state];
    if (icon == nullptr) return;
    PlacePicture(rect, icon->Width(), icon->Height(), CurrentStyle().imageOnRight == 1, iconRect);
}

void CButtonResource::DrawContent(Gdiplus::GpGraphics* graphics) {
    const WidgetStyle& style = CurrentStyle();
    const CSkinImage* icon = IsState(state) ? stateImages[state] : nullptr;
    if (icon != nullptr) DrawPicture(graphics, icon, iconRect);
    GdipStringFormat format = CreateStringFormat(style.hAlign, style.vAlign, true);
    GdipFont font = CreateStyleFont(style, CurrentUiScale());
    const TextBox box = CaptionBox(rect, icon != nullptr ? iconRect.Width() : 0, style.imageOnRight == 1);
    DrawStyledText(graphics, text, style.textColor, font.Get(), format.Get(), box);
}
