// The variation points of the views' shared mouse pattern: which widget types
// a page treats as inert (hovering them returns every button to normal),
// which it lets be pressed without dragging the window, and which it clicks.
#pragma once

#include <cstdint>

#include "ui/BaseResource.h"

constexpr uint32_t TypeBit(int32_t type) { return type >= 0 && type < 32 ? 1u << type : 0u; }

struct ViewMouseRules {
    uint32_t inertTypes = TypeBit(kTypeBackground) | TypeBit(kTypeImage) | TypeBit(kTypeCheckbox) | TypeBit(kTypeText) |
                          TypeBit(kTypeSpacer);
    // Pressed in place; a press anywhere else that is not an enabled button
    // starts moving the window.
    uint32_t pressableTypes = TypeBit(kTypeCheckbox);
    // Releasing the mouse over these posts the click message; disabled
    // buttons never click unless clickDisabledButtons is set.
    uint32_t clickableTypes = ~TypeBit(kTypeImage);
    bool clickDisabledButtons = false;

    static bool Has(uint32_t set, int32_t type) { return (set & TypeBit(type)) != 0; }
};
