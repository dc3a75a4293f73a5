#include "ui/CheckboxResource.h"

#include <utility>

#include "ui/DrawPrimitives.h"
#include "ui/UiScale.h"

CCheckboxResource::CCheckboxResource(int32_t widgetId, const WidgetStyleSet* styleSet, std::wstring label,
                                     CSkinImage* selectedPicture, CSkinImage* deselectedPicture)
    : CImageResource(widgetId, nullptr, kTypeCheckbox),
      selectedImage(selectedPicture),
      deselectedImage(deselectedPicture),
      text(std::move(label)) {
    styles = styleSet != nullptr ? *styleSet : DefaultStyles();
}

WidgetStyleSet CCheckboxResource::DefaultStyles() {
    WidgetStyleSet set;
    set[kStateNormal].textColor = 0xFF4D4D4D;
    set[kStateHover].textColor = 0xFF4197FF;
    set[kStatePressed].textColor = 0xFF1873DE;
    for (WidgetStyle& s : set) {
        s.fillColor = 0x00FFFFFF;
        s.borderColor = 0x00FFFFFF;
    }
    return set;
}

const CSkinImage* CCheckboxResource::CurrentBox() const {
    if (selected == 1) return selectedImage;
    if (selected == 0) return deselectedImage;
    return nullptr;
}

bool CCheckboxResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    CImageResource::SetRect(left, top, right, bottom);
    if (const CSkinImage* box = CurrentBox()) {
        PlacePicture(rect, box->Width(), box->Height(), CurrentStyle().imageOnRight == 1, boxRect);
    }
    return true;
}

void CCheckboxResource::DrawContent(Gdiplus::GpGraphics* graphics) {
    const WidgetStyle& style = CurrentStyle();
    GdipStringFormat format = CreateStringFormat(style.hAlign, kAlignCentre, true);
    GdipFont font = CreateStyleFont(style, CurrentUiScale());
    const TextBox box = CaptionBox(rect, boxRect.Width(), style.imageOnRight == 1);
    DrawStyledText(graphics, text, style.textColor, font.Get(), format.Get(), box);
    DrawPicture(graphics, CurrentBox(), boxRect);
}
