#include "ui/TextResource.h"

#include <utility>

#include "ui/DrawPrimitives.h"
#include "ui/UiScale.h"

namespace {

WidgetStyleSet TextDefaults() {
    WidgetStyleSet set;
    set[kStateNormal].fillColor = 0xFFFFFFFF;
    return set;
}

}  // namespace

CTextResource::CTextResource(int32_t widgetId, const WidgetStyleSet* styleSet, std::wstring content)
    : CImageResource(widgetId, nullptr, kTypeText), text(std::move(content)) {
    styles = styleSet != nullptr ? *styleSet : TextDefaults();
}

void CTextResource::DrawContent(Gdiplus::GpGraphics* graphics) {
    const WidgetStyle& style = CurrentStyle();
    GdipStringFormat format = CreateStringFormat(style.hAlign, style.vAlign, false);
    GdipFont font = CreateStyleFont(style, CurrentUiScale());
    DrawStyledText(graphics, text, style.textColor, font.Get(), format.Get(), CaptionBox(rect, 0, false));
}
