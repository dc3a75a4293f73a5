#include "ui/LayoutMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNoAspect = 1e-8;
constexpr double kScaleTolerance = 1e-8;
constexpr double kDipsPerInchPercent = 0.96;  // LOGPIXELSX / 0.96 / 100 = LOGPIXELSX / 96
// The one diameter whose three later arcs are drawn one pixel wider.
constexpr float kWideArcDiameter = 20.0f;

int32_t Saturate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value, lo, hi));
}

}  // namespace

int32_t RoundEdge(double value) { return Saturate(std::trunc(value + 0.5)); }

int32_t TruncEdge(double value) { return Saturate(std::trunc(value)); }

IntRect ApplyOutset(const IntRect& slot, int32_t outsetX, int32_t outsetY, double scale) {
    const double dx = TruncEdge(outsetX * scale);
    const double dy = TruncEdge(outsetY * scale);
    return {Saturate(slot.left - dx), Saturate(slot.top - dy), Saturate(slot.right + dx), Saturate(slot.bottom + dy)};
}

IntRect FitAspect(const IntRect& slot, double aspectRatio) {
    if (std::fabs(aspectRatio) <= kNoAspect) return slot;
    const double w = static_cast<double>(slot.Width());
    const double h = static_cast<double>(slot.Height());
    IntRect out = slot;
    if (w / h > aspectRatio) {
        const double excess = w - h * aspectRatio;
        out.left = RoundEdge(slot.left + excess / 2);
        out.right = RoundEdge(slot.right - excess / 2);
    } else {
        const double excess = h - w / aspectRatio;
        out.top = RoundEdge(slot.top + excess / 2);
        out.bottom = RoundEdge(slot.bottom - excess / 2);
    }
    return out;
}

namespace {

// The factor that scales a picture to fit entirely into w x h.
double FitFactor(double w, double h, double iw, double ih) { return w / h > iw / ih ? h / ih : w / iw; }

}  // namespace

bool FitImage(const IntRect& rect, uint32_t imageWidth, uint32_t imageHeight, IntRect& out) {
    if (imageWidth == 0 || imageHeight == 0) return false;
    const double w = static_cast<double>(rect.Width());
    const double h = static_cast<double>(rect.Height());
    const double k = FitFactor(w, h, imageWidth, imageHeight);
    const double ex = (w - imageWidth * k) / 2;
    const double ey = (h - imageHeight * k) / 2;
    out = {RoundEdge(rect.left + ex), RoundEdge(rect.top + ey), RoundEdge(rect.right - ex),
           RoundEdge(rect.bottom - ey)};
    return true;
}

bool PlacePicture(const IntRect& rect, uint32_t imageWidth, uint32_t imageHeight, bool onRight, IntRect& out) {
    if (imageWidth == 0 || imageHeight == 0) return false;
    const double w = static_cast<double>(rect.Width());
    const double h = static_cast<double>(rect.Height());
    const double k = FitFactor(w, h, imageWidth, imageHeight);
    const double spare = w - imageWidth * k;
    const double ey = (h - imageHeight * k) / 2;
    out.top = RoundEdge(rect.top + ey);
    out.bottom = RoundEdge(rect.bottom - ey);
    out.left = onRight ? RoundEdge(rect.left + spare) : rect.left;
    out.right = onRight ? rect.right : RoundEdge(rect.right - spare);
    return true;
}

IntRect PlaceBar(const IntRect& track, uint32_t percent) {
    const int64_t width = std::max<int64_t>(track.Width(), 0);
    const int64_t filled = width * std::min<uint32_t>(percent, 100) / 100;
    return {track.left, track.top, Saturate(static_cast<double>(track.left + filled)), track.bottom};
}

TextBox CaptionBox(const IntRect& rect, int64_t pictureWidth, bool pictureOnRight) {
    const double width = static_cast<double>(rect.Width());
    const double height = static_cast<double>(rect.Height());
    if (pictureWidth <= 0) return {double(rect.left), double(rect.top), width, height};
    const double gap = rect.Width() > 3 ? 3 : 0;
    const double rest = width - gap - static_cast<double>(pictureWidth);
    const double x = pictureOnRight ? rect.left : rect.left + gap + static_cast<double>(pictureWidth);
    return {x, double(rect.top), rest, height};
}

ScaledSize ComputeScaledSize(int64_t workWidth, int64_t workHeight, uint32_t designWidth, uint32_t designHeight,
                             double dpiFactor) {
    const double dw = designWidth;
    const double dh = designHeight;
    if (designWidth == 0 || designHeight == 0) return {dw, dh, 1.0};
    const double aspect = dw / dh;
    if (workWidth > workHeight) {
        const double height = std::max(dh * dpiFactor, dh);
        return {height * aspect, height, height / dh};
    }
    const double width = std::max(dw * dpiFactor, dw);
    return {width, width / aspect, width / dw};
}

double DpiFactorFromCaps(int32_t desktopHorzRes, int32_t horzRes, int32_t logPixelsX) {
    if (horzRes != 0) {
        const double ratio = static_cast<double>(desktopHorzRes) / horzRes;
        if (std::fabs(ratio) - 1 >= kScaleTolerance) return ratio;
    }
    return logPixelsX / kDipsPerInchPercent / 100;
}

void CenteredOrigin(const IntRect& workArea, double width, double height, int32_t& x, int32_t& y) {
    x = Saturate(static_cast<double>(workArea.right / 2) - TruncEdge(width * 0.5 + 0.5));
    y = Saturate(static_cast<double>(workArea.bottom / 2) - TruncEdge(height * 0.5 + 0.5));
}

namespace {

struct Axis {
    double start, end;        // the rectangle's edges along the layout's direction
    double marginA, marginB;  // the margins at those edges
};

bool FitsChildren(double extent, double marginA, double marginB, size_t n, double spacing) {
    return extent >= static_cast<double>(n) + (static_cast<double>(n) - 1) * spacing + marginA + marginB;
}

}  // namespace

bool ComputeLayoutSlots(const LayoutGeometry& geometry, const IntRect& rect, size_t childCount,
                        const std::vector<uint32_t>& weights, double scale, std::vector<IntRect>& slots) {
    slots.clear();
    if (weights.size() != childCount) return false;
    const bool vertical = geometry.orientation == static_cast<int32_t>(LayoutOrientation::kVertical);
    const bool horizontal = geometry.orientation == static_cast<int32_t>(LayoutOrientation::kHorizontal);
    if (!vertical && !horizontal) return true;

    double total = 0;
    for (uint32_t w : weights)
        total += w;
    const size_t n = childCount;
    if (n == 0 || total == 0) return false;

    const double L = geometry.marginLeft * scale, T = geometry.marginTop * scale;
    const double R = geometry.marginRight * scale, B = geometry.marginBottom * scale;
    const double G = geometry.spacing * scale;
    const double width = static_cast<double>(rect.Width());
    const double height = static_cast<double>(rect.Height());
    const Axis along = vertical ? Axis{double(rect.top), double(rect.bottom), T, B}
                                : Axis{double(rect.left), double(rect.right), L, R};
    const Axis across = vertical ? Axis{double(rect.left), double(rect.right), L, R}
                                 : Axis{double(rect.top), double(rect.bottom), T, B};
    const double alongExtent = vertical ? height : width;
    const double acrossExtent = vertical ? width : height;
    if (!FitsChildren(alongExtent, along.marginA, along.marginB, n, G)) return false;
    if (acrossExtent < across.marginA + across.marginB) return false;

    const double unit = (alongExtent - along.marginA - along.marginB - (static_cast<double>(n) - 1) * G) / total;
    const int32_t crossStart = RoundEdge(across.start + across.marginA);
    const int32_t crossEnd = RoundEdge(across.end - across.marginB);
    double cursor = along.start + along.marginA;
    slots.reserve(n);
    for (uint32_t weight : weights) {
        const int32_t a = RoundEdge(cursor);
        const int32_t b = RoundEdge(cursor + weight * unit);
        slots.push_back(vertical ? IntRect{crossStart, a, crossEnd, b} : IntRect{a, crossStart, b, crossEnd});
        cursor += weight * unit + G;
    }
    return true;
}

std::array<ArcBox, 4> RoundedArcs(const FloatBox& box, float diameter) {
    const float d = std::min({diameter, box.width, box.height});
    const bool wide = d == kWideArcDiameter;
    const float e = wide ? d + 1 : d;
    const float w = wide ? box.width - 1 : box.width;
    const float h = wide ? box.height - 1 : box.height;
    const float rightX = box.x + w - d - 1;
    const float bottomY = box.y + h - d - 1;
    return {{{box.x, box.y, d, d, 180.0f},
             {rightX, box.y, e, e, 270.0f},
             {rightX, bottomY, e, e, 0.0f},
             {box.x, bottomY, e, e, 90.0f}}};
}

FloatBox InnerBox(const IntRect& rect) {
    return {float(rect.left), float(rect.top), float(rect.Width() - 1), float(rect.Height() - 1)};
}

std::vector<FloatBox> BorderOutlines(const FloatBox& box, int32_t width) {
    std::vector<FloatBox> outlines;
    if (width < 1) return outlines;
    FloatBox current = box;
    outlines.push_back(current);
    // Past the middle of the box there is nothing left to outline.
    for (int32_t i = 1; i < width && current.width > 0 && current.height > 0; ++i) {
        current.x += 1;
        current.width -= 2;
        outlines.push_back(current);
        current.y += 1;
        current.height -= 2;
        outlines.push_back(current);
    }
    return outlines;
}
