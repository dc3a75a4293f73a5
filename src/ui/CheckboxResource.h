// A label beside a box picture that shows whether the option is selected.
// selected is independent of the interaction state; the page toggles it.
#pragma once

#include <string>

#include "ui/ImageResource.h"

class CCheckboxResource : public CImageResource {
public:
    // Without styles: grey, blue on hover, dark blue pressed, transparent fill.
    CCheckboxResource(int32_t id, const WidgetStyleSet* styles, std::wstring label, CSkinImage* selectedPicture,
                      CSkinImage* deselectedPicture);

    static WidgetStyleSet DefaultStyles();

    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    // Both pictures are expected to have the same size: the box is placed
    // from the current one only when the widget is placed.
    CSkinImage* selectedImage;
    CSkinImage* deselectedImage;
    IntRect boxRect;
    int32_t selected = 1;
    std::wstring text;

protected:
    void DrawContent(Gdiplus::GpGraphics* graphics) override;

private:
    const CSkinImage* CurrentBox() const;
};
