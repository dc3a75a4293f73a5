#include "ui/LayoutResource.h"

#include "ui/UiScale.h"

CLayoutResource::CLayoutResource(int32_t orientation, int32_t widgetId) : IBaseResource(kTypeLayout, widgetId) {
    geometry.orientation = orientation;
}

void CLayoutResource::AddChild(IBaseResource* child, uint32_t weight) {
    children.push_back(child);
    weights.push_back(weight);
}

bool CLayoutResource::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect = {left, top, right, bottom};
    std::vector<IntRect> slots;
    if (!ComputeLayoutSlots(geometry, rect, children.size(), weights, CurrentUiScale(), slots)) return false;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (children[i] != nullptr) children[i]->SetRect(slots[i].left, slots[i].top, slots[i].right, slots[i].bottom);
    }
    if (background != nullptr) background->SetRect(left, top, right, bottom);
    return true;
}
