// A rounded track with a bar filled to a percentage. The bar's radius is in
// pixels, not scaled: a pill-shaped bar stays a pill at any scale.
#pragma once

#include "ui/ImageResource.h"

class CProgressResource : public CImageResource {
public:
    static constexpr int32_t kId = 2;

    // Without styles: blue bar on a light grey track, radius 100.
    explicit CProgressResource(const WidgetStyleSet* styles);

    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    // Places the bar for percent (0 to 100); the caller repaints.
    void SetPercent(uint32_t value);

    IntRect barRect;
    uint32_t percent = 0;

protected:
    void DrawContent(Gdiplus::GpGraphics* graphics) override;
};
