// The numbers behind window scaling, widget placement and the rounded shapes
// the widgets draw. Platform-free so that every rule can be checked without a
// device context; the widgets only feed these results to Win32 and GDI+.
//
// Every conversion from a computed double to a pixel edge goes through
// RoundEdge or TruncEdge, which saturate at the int32 range: a huge scale or
// weight from a page never turns into undefined behaviour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // Widths and heights of extreme rectangles do not fit an int32.
    int64_t Width() const { return int64_t{right} - left; }
    int64_t Height() const { return int64_t{bottom} - top; }
    bool Contains(int64_t x, int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const IntRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// trunc(value + 0.5): the rounding of every placed edge.
int32_t RoundEdge(double value);
// trunc(value): the rounding of scaled margins, radii and border widths.
int32_t TruncEdge(double value);

// The slot grown by the scaled outsets on both sides (negative outsets shrink).
IntRect ApplyOutset(const IntRect& slot, int32_t outsetX, int32_t outsetY, double scale);
// The slot shrunk, centred, to width / height = aspectRatio; |aspectRatio|
// <= 1e-8 means no constraint.
IntRect FitAspect(const IntRect& slot, double aspectRatio);
// Where a picture of imageWidth x imageHeight is drawn to fit entirely in
// rect, centred. false (and out untouched) for a picture without pixels.
bool FitImage(const IntRect& rect, uint32_t imageWidth, uint32_t imageHeight, IntRect& out);
// The icon of a button or the box of a check box: scaled like FitImage and
// pushed against the left edge, or the right one when onRight.
bool PlacePicture(const IntRect& rect, uint32_t imageWidth, uint32_t imageHeight, bool onRight, IntRect& out);
// The filled part of a progress track; percent above 100 fills the track.
IntRect PlaceBar(const IntRect& track, uint32_t percent);

struct TextBox {
    double x, y, width, height;
};
// The caption area of a button or check box beside a picture pictureWidth
// pixels wide (0: no picture, the whole rectangle).
TextBox CaptionBox(const IntRect& rect, int64_t pictureWidth, bool pictureOnRight);

struct ScaledSize {
    double width, height, scale;
};
// A design size at the display's DPI factor, scaled along the work area's
// longer side and never below the design size.
ScaledSize ComputeScaledSize(int64_t workWidth, int64_t workHeight, uint32_t designWidth, uint32_t designHeight,
                             double dpiFactor);
// The DPI factor from the screen's device capabilities.
double DpiFactorFromCaps(int32_t desktopHorzRes, int32_t horzRes, int32_t logPixelsX);
// Top-left corner of a window of the given size centred on the point
// (workRight / 2, workBottom / 2).
void CenteredOrigin(const IntRect& workArea, double width, double height, int32_t& x, int32_t& y);

enum class LayoutOrientation : int32_t { kVertical = 1, kHorizontal = 2 };

struct LayoutGeometry {
    int32_t orientation = 0;
    uint32_t marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    uint32_t spacing = 0;
};
// The children's rectangles of a weighted linear layout placed on rect.
// false when nothing may be placed: weights and children differ in number
// (childCount), no children or zero total weight in a placing orientation, or
// a rectangle too small for one pixel per child. An orientation other than
// 1 or 2 succeeds with no slots.
bool ComputeLayoutSlots(const LayoutGeometry& geometry, const IntRect& rect, std::size_t childCount,
                        const std::vector<uint32_t>& weights, double scale, std::vector<IntRect>& slots);

struct ArcBox {
    float x, y, width, height, startAngle;
};
struct FloatBox {
    float x, y, width, height;
};
// The four 90-degree arcs of the rounded outline of box, clockwise from the
// top-left corner, for a corner diameter clamped to the box.
std::array<ArcBox, 4> RoundedArcs(const FloatBox& box, float diameter);
// The rectangle path of a widget: its last pixels lie inside it.
FloatBox InnerBox(const IntRect& rect);
// The successive 1-pixel outlines of a rounded border width pixels thick,
// thickening inwards; empty below width 1.
std::vector<FloatBox> BorderOutlines(const FloatBox& box, int32_t width);
