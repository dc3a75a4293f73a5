// Widgets drawn into a 32-bit DIB and checked pixel by pixel. The canvas
// starts fully transparent, so every pixel a widget leaves alone reads 0.
#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"
#include "ui/ButtonResource.h"
#include "ui/CheckboxResource.h"
#include "ui/DibCanvas.h"
#include "ui/DrawPrimitives.h"
#include "ui/ImageResource.h"
#include "ui/LayoutResource.h"
#include "ui/ProgressResource.h"
#include "ui/SpacerResource.h"
#include "ui/TextResource.h"

namespace {

using uitest::Alpha;
using uitest::Hex;
using uitest::Near;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class Widgets : public uitest::GdiplusTest {
protected:
    CDibCanvas canvas_{nullptr, 200, 120};

    WidgetStyleSet Styles(uint32_t fill, int32_t radius = 0, int32_t borderWidth = 0, uint32_t border = kBlue) {
        WidgetStyleSet set;
        for (WidgetStyle& s : set) {
            s.fillColor = fill;
            s.cornerRadius = radius;
            s.borderWidth = borderWidth;
            s.borderColor = border;
        }
        return set;
    }
};

TEST_F(Widgets, FillCoversTheRectangleAndNothingElse) {
    ASSERT_TRUE(canvas_.IsValid());
    const WidgetStyleSet styles = Styles(kRed);
    CImageResource image(1, &styles, kTypeImage);
    image.SetRect(10, 10, 50, 30);
    image.Draw(canvas_.Dc());
    for (auto [x, y] : {std::pair{10, 10}, {49, 29}, {30, 20}}) {
        EXPECT_TRUE(Near(canvas_.Pixel(x, y), kRed)) << x << "," << y << " " << Hex(canvas_.Pixel(x, y));
    }
    for (auto [x, y] : {std::pair{9, 20}, {51, 20}, {30, 31}, {100, 100}}) {
        EXPECT_EQ(Alpha(canvas_.Pixel(x, y)), 0) << x << "," << y;
    }
}

TEST_F(Widgets, HiddenAndDefaultTransparentWidgetsLeaveTheCanvasAlone) {
    CImageResource plain(1, nullptr, kTypeImage);  // default fill 00FFFFFF
    plain.SetRect(0, 0, 100, 100);
    plain.Draw(canvas_.Dc());
    const WidgetStyleSet styles = Styles(kRed);
    CImageResource hidden(1, &styles, kTypeImage);
    hidden.SetRect(0, 0, 100, 100);
    hidden.visible = false;
    hidden.Draw(canvas_.Dc());
    EXPECT_EQ(Alpha(canvas_.Pixel(50, 50)), 0) << Hex(canvas_.Pixel(50, 50));
}

TEST_F(Widgets, StateSelectsTheStyle) {
    CButtonResource button(7, L"", nullptr);
    button.SetRect(0, 0, 100, 40);
    const uint32_t expected[] = {0xFF4197FF, 0xFF62A6FB, 0xFF1873DE, 0xFFD8D8D8};
    for (int32_t state = 0; state < 4; ++state) {
        button.state = state;
        button.Draw(canvas_.Dc());
        EXPECT_TRUE(Near(canvas_.Pixel(50, 20), expected[state])) << state << " " << Hex(canvas_.Pixel(50, 20));
    }
}

TEST_F(Widgets, RoundedCornersLeaveTheCornerPixelsOut) {
    const WidgetStyleSet styles = Styles(kRed, 10);
    CImageResource image(1, &styles, kTypeImage);
    image.SetRect(0, 0, 60, 40);
    image.Draw(canvas_.Dc());
    EXPECT_EQ(Alpha(canvas_.Pixel(0, 0)), 0);
    EXPECT_EQ(Alpha(canvas_.Pixel(59, 39)), 0);
    EXPECT_TRUE(Near(canvas_.Pixel(30, 20), kRed));
    EXPECT_TRUE(Near(canvas_.Pixel(30, 0), kRed)) << Hex(canvas_.Pixel(30, 0));
    EXPECT_TRUE(Near(canvas_.Pixel(30, 39), kRed)) << Hex(canvas_.Pixel(30, 39));
}

TEST_F(Widgets, RoundedBorderThickensInwardsPixelByPixel) {
    // Width 3, radius 4: five outlines stepping in one pixel at a time.
    const WidgetStyleSet styles = Styles(0x00FFFFFF, 4, 3, kBlue);
    CImageResource image(1, &styles, kTypeImage);
    image.SetRect(20, 20, 80, 60);
    image.Draw(canvas_.Dc());
    for (int x : {20, 21, 22, 77, 78, 79}) {
        EXPECT_TRUE(Near(canvas_.Pixel(x, 40), kBlue, 40)) << x << " " << Hex(canvas_.Pixel(x, 40));
    }
    for (int y : {20, 21, 22, 57, 58, 59}) {
        EXPECT_TRUE(Near(canvas_.Pixel(50, y), kBlue, 40)) << y << " " << Hex(canvas_.Pixel(50, y));
    }
    for (auto [x, y] : {std::pair{24, 40}, {75, 40}, {50, 24}, {50, 55}, {50, 40}, {19, 40}, {80, 40}}) {
        EXPECT_EQ(Alpha(canvas_.Pixel(x, y)), 0) << x << "," << y << " " << Hex(canvas_.Pixel(x, y));
    }
}

TEST_F(Widgets, ProgressBarFillsItsShareOfTheTrack) {
    WidgetStyleSet styles = Styles(0xFFEEEEEE);
    styles[kStateNormal].textColor = kBlue;
    CProgressResource bar(&styles);
    bar.SetRect(0, 50, 300, 60);
    bar.SetPercent(33);
    EXPECT_EQ(bar.barRect.Width(), 99);
    bar.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(90, 55), kBlue)) << Hex(canvas_.Pixel(90, 55));
    EXPECT_TRUE(Near(canvas_.Pixel(110, 55), 0xFFEEEEEE)) << Hex(canvas_.Pixel(110, 55));

    bar.SetPercent(0);
    bar.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(0, 55), 0xFFEEEEEE)) << Hex(canvas_.Pixel(0, 55));
}

TEST_F(Widgets, ImageIsScaledIntoItsFittedRectangle) {
    auto error = uitest::SkinPicture("error_icon.png");
    ASSERT_EQ(error->Width(), 40u);
    CImageResource image(1, nullptr, kTypeImage);
    image.SetImage(error.get());
    image.SetRect(0, 0, 160, 80);
    EXPECT_EQ(image.imageRect, (IntRect{40, 0, 120, 80}));
    image.Draw(canvas_.Dc());
    EXPECT_EQ(Alpha(canvas_.Pixel(20, 40)), 0);
    EXPECT_TRUE(Near(canvas_.Pixel(45, 40), 0xFFF25C54, 24)) << Hex(canvas_.Pixel(45, 40));
}

TEST_F(Widgets, ButtonIconSitsAtItsEdgeWithTheCaptionBeside) {
    auto icon = uitest::SkinPicture("main_checkbox_select.png");  // 14 x 14
    CButtonResource button(4, L"Go", nullptr);
    button.SetStateImage(kStateNormal, icon.get());
    button.SetRect(0, 0, 120, 14);
    EXPECT_EQ(button.iconRect, (IntRect{0, 0, 14, 14}));
    button.styles[kStateNormal].imageOnRight = 1;
    button.SetRect(0, 0, 120, 14);
    EXPECT_EQ(button.iconRect, (IntRect{106, 0, 120, 14}));
    // The icon of a state without its own picture is not drawn.
    button.state = kStateHover;
    button.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(112, 7), 0xFF62A6FB)) << Hex(canvas_.Pixel(112, 7));
    button.state = kStateNormal;
    button.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(108, 11), 0xFF00CB87, 24)) << Hex(canvas_.Pixel(108, 11));
}

TEST_F(Widgets, CheckboxShowsTheBoxOfItsSelection) {
    auto on = uitest::SkinPicture("main_checkbox_select.png");
    auto off = uitest::SkinPicture("main_checkbox_deselect.png");
    CCheckboxResource box(6, nullptr, L"", on.get(), off.get());
    box.SetRect(0, 0, 100, 14);
    EXPECT_EQ(box.boxRect, (IntRect{0, 0, 14, 14}));
    box.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(2, 11), 0xFF00CB87, 24)) << Hex(canvas_.Pixel(2, 11));
    box.selected = 0;
    box.Draw(canvas_.Dc());
    EXPECT_TRUE(Near(canvas_.Pixel(7, 7), 0xFFFFFFFF, 24)) << Hex(canvas_.Pixel(7, 7));
}

TEST_F(Widgets, FontStyleAndFallback) {
    struct Case {
        bool bold, underline;
        INT style;
    };
    const Case cases[] = {
        {true, true, Gdiplus::FontStyleBold},  // bold wins, no underline
        {false, true, Gdiplus::FontStyleUnderline},
        {false, false, Gdiplus::FontStyleRegular},
    };
    for (const Case& c : cases) {
        WidgetStyle style;
        style.bold = c.bold;
        style.underline = c.underline;
        style.fontSize = 14;
        GdipFont font = CreateStyleFont(style, 1.5);
        ASSERT_TRUE(font);
        INT fontStyle = -1;
        Gdiplus::REAL size = 0;
        Gdiplus::DllExports::GdipGetFontStyle(font.Get(), &fontStyle);
        Gdiplus::DllExports::GdipGetFontSize(font.Get(), &size);
        EXPECT_EQ(fontStyle, c.style);
        EXPECT_FLOAT_EQ(size, 21.0f);
    }
    EXPECT_EQ(WidgetStyle().fontFamily, L"Microsoft Yahei");

    // A missing family falls back to the generic sans-serif one, when the
    // system has it (this Wine prefix has none: then nothing is drawn).
    Gdiplus::GpFontFamily* generic = nullptr;
    const bool haveGeneric = Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok;
    WidgetStyle missing;
    missing.fontFamily = L"No Such Family 7";
    EXPECT_EQ(static_cast<bool>(CreateStyleFont(missing, 1.0)), haveGeneric);
}

// Glyphs filled as paths write real alpha: text stays visible on a layered
// window, where the canvas around it is fully transparent.
TEST_F(Widgets, TextDrawsOpaqueGlyphsOnATransparentCanvas) {
    for (bool underline : {false, true}) {
        CDibCanvas canvas(nullptr, 200, 60);
        WidgetStyleSet styles;
        styles[kStateNormal].fontSize = 40;
        styles[kStateNormal].textColor = kBlue;
        styles[kStateNormal].underline = underline;
        styles[kStateNormal].bold = !underline;
        CTextResource text(5, &styles, L"\x2588\x2588\x2588");
        text.SetRect(0, 0, 200, 60);
        text.Draw(canvas.Dc());
        int inked = 0;
        for (int x = 0; x < 200; ++x) {
            for (int y = 0; y < 60; ++y)
                inked += Near(canvas.Pixel(x, y), kBlue, 16) ? 1 : 0;
        }
        EXPECT_GT(inked, 100) << "underline " << underline;
    }
}

TEST_F(Widgets, LayoutPlacesChildrenAndItsBackground) {
    CLayoutResource root(1, 1);
    root.geometry.marginTop = 24;
    root.geometry.marginBottom = 24;
    CImageResource background(0, nullptr, kTypeBackground);
    CSpacerResource top;
    CImageResource middle(2, nullptr, kTypeImage);
    CSpacerResource bottom;
    root.SetBackground(&background);
    root.AddChild(&top, 4);
    root.AddChild(&middle, 27);
    root.AddChild(&bottom, 4);
    ASSERT_TRUE(root.SetRect(0, 0, 600, 400));
    EXPECT_EQ(top.rect, (IntRect{0, 24, 600, 64}));
    EXPECT_EQ(middle.rect, (IntRect{0, 64, 600, 336}));
    EXPECT_EQ(bottom.rect, (IntRect{0, 336, 600, 376}));
    EXPECT_EQ(background.rect, (IntRect{0, 0, 600, 400}));

    // Too small: nothing moves, the children keep their earlier rectangles.
    CImageResource fresh(3, nullptr, kTypeImage);
    CLayoutResource tiny(2, 1);
    tiny.geometry.spacing = 10;
    tiny.AddChild(&fresh, 1);
    tiny.AddChild(&top, 1);
    tiny.AddChild(&bottom, 1);
    tiny.SetBackground(&background);
    EXPECT_FALSE(tiny.SetRect(0, 0, 22, 10));
    EXPECT_EQ(fresh.rect, (IntRect{0, 0, 50, 20}));
    EXPECT_EQ(background.rect, (IntRect{0, 0, 600, 400}));
}

TEST_F(Widgets, AspectAndOutsetApplyWhenPlaced) {
    CImageResource square(1, nullptr, kTypeImage);
    square.aspectRatio = 1.0;
    square.SetRect(0, 0, 40, 20);
    EXPECT_EQ(square.rect, (IntRect{10, 0, 30, 20}));
    CImageResource inset(1, nullptr, kTypeImage);
    inset.outsetX = -4;
    inset.outsetY = -4;
    inset.SetRect(0, 0, 40, 20);
    EXPECT_EQ(inset.rect, (IntRect{4, 4, 36, 16}));
}

}  // namespace
