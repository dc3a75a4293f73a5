// An invisible widget that only takes a slot in a layout.
#pragma once

#include "ui/BaseResource.h"

class CSpacerResource : public IBaseResource {
public:
    static constexpr int32_t kId = 10;

    CSpacerResource() : IBaseResource(kTypeSpacer, kId) {}

    bool Draw(HDC) override { return true; }
    bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        rect = {left, top, right, bottom};
        return true;
    }
};
