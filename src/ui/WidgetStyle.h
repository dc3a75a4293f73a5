// The look of an image-based widget in one interaction state, and the four
// states' looks together. Pages copy a default set, change a few fields and
// hand it to a widget's constructor.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Indexes of WidgetStyleSet and values of a widget's state.
enum WidgetState : int32_t {
    kStateNormal = 0,
    kStateHover = 1,
    kStatePressed = 2,
    kStateDisabled = 3,
};

// Text alignment values; any other value leaves the string format's default.
enum TextAlign : int32_t {
    kAlignNear = 0,
    kAlignCentre = 1,
    kAlignFar = 2,
};

struct WidgetStyle {
    WidgetStyle();

    uint32_t textColor = 0xFF000000;
    uint32_t fillColor = 0x00FFFFFF;
    int32_t borderWidth = 0;
    int32_t cornerRadius = 0;
    uint32_t borderColor = 0xFFC0C0C0;
    uint32_t fontSize = 16;
    std::wstring fontFamily;
    bool underline = false;
    bool bold = false;  // wins over underline
    int32_t hAlign = kAlignNear;
    int32_t vAlign = kAlignCentre;
    int32_t imageOnRight = 0;  // 1: icon or box at the right edge
};

using WidgetStyleSet = std::array<WidgetStyle, 4>;

// "SimHei" on Windows XP, "Microsoft Yahei" elsewhere.
const std::wstring& DefaultFontFamily();
