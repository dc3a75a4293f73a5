// A filled, rounded button with an optional icon per state and a caption
// beside the icon.
#pragma once

#include <array>
#include <string>

#include "ui/ImageResource.h"

class CButtonResource : public CImageResource {
public:
    // Without styles: white centred text on the blue family, radius 2.
    CButtonResource(int32_t id, std::wstring caption, const WidgetStyleSet* styles);

    static WidgetStyleSet DefaultStyles();

    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    void SetStateImage(int32_t forState, CSkinImage* picture);

    std::array<CSkinImage*, 4> stateImages{};
    IntRect iconRect;
    std::wstring text;

protected:
    void DrawContent(Gdiplus::GpGraphics* graphics) override;

private:
    void PlaceIcon();
};
