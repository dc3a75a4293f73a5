// A picture on a filled, bordered rectangle: the base of every image-based
// widget. The state picks one of four styles; only views and pages change it.
#pragma once

#include "ui/BaseResource.h"
#include "ui/GdiplusObjects.h"
#include "ui/SkinImage.h"
#include "ui/WidgetStyle.h"

class CImageResource : public IBaseResource {
public:
    // type: kTypeBackground or kTypeImage (derived widgets pass their own).
    // Without styles every state gets the WidgetStyle defaults.
    CImageResource(int32_t id, const WidgetStyleSet* styles, int32_t type);

    bool Draw(HDC dc) override;
    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    void SetImage(CSkinImage* picture);
    const WidgetStyle& CurrentStyle() const;

    int32_t state = kStateNormal;
    WidgetStyleSet styles;
    int32_t outsetX = 0;  // added on both sides when placed; negative shrinks
    int32_t outsetY = 0;
    double aspectRatio = 0.0;  // width / height enforced when placed; 0 for none
    CSkinImage* image = nullptr;
    IntRect imageRect;

protected:
    // What a derived widget draws over the fill, picture and border.
    virtual void DrawContent(Gdiplus::GpGraphics*) {}
    static void DrawPicture(Gdiplus::GpGraphics* graphics, const CSkinImage* picture, const IntRect& where);
};
