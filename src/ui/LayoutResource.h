// An invisible weighted linear arrangement: places its children side by side
// or stacked, in proportion to their weights, and its background over the
// whole rectangle. Children and background are owned by the view.
#pragma once

#include <vector>

#include "ui/BaseResource.h"

class CLayoutResource : public IBaseResource {
public:
    // orientation: LayoutOrientation values; any other places no children.
    CLayoutResource(int32_t orientation, int32_t id);

    bool Draw(HDC) override { return true; }
    // false, with nothing placed, when the children cannot be laid out.
    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;

    void AddChild(IBaseResource* child, uint32_t weight);
    void SetBackground(IBaseResource* widget) { background = widget; }

    LayoutGeometry geometry;  // orientation, margins and spacing in layout pixels
    IBaseResource* background = nullptr;
    std::vector<IBaseResource*> children;
    std::vector<uint32_t> weights;
};
