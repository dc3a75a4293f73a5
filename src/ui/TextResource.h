// Text on a filled rectangle; long text wraps.
#pragma once

#include <string>

#include "ui/ImageResource.h"

class CTextResource : public CImageResource {
public:
    // Without styles the normal state is filled opaque white.
    CTextResource(int32_t id, const WidgetStyleSet* styles, std::wstring text);

    std::wstring text;

protected:
    void DrawContent(Gdiplus::GpGraphics* graphics) override;
};
