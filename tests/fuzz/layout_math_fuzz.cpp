// Drives the placement and shape rules with arbitrary rectangles, weights,
// scales and picture sizes: pages and skins feed them numbers nobody checks.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ui/LayoutMath.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    template <typename T>
    T Take() {
        T value{};
        const size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

IntRect TakeRect(Reader& in) {
    IntRect r;
    r.left = in.Take<int32_t>();
    r.top = in.Take<int32_t>();
    r.right = in.Take<int32_t>();
    r.bottom = in.Take<int32_t>();
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    const IntRect rect = TakeRect(in);
    const double scale = in.Take<double>();
    const uint32_t iw = in.Take<uint32_t>() % 100000;
    const uint32_t ih = in.Take<uint32_t>() % 100000;

    IntRect out;
    FitImage(rect, iw, ih, out);
    PlacePicture(rect, iw, ih, (iw & 1) != 0, out);
    CaptionBox(rect, out.Width(), (ih & 1) != 0);
    FitAspect(ApplyOutset(rect, in.Take<int32_t>(), in.Take<int32_t>(), scale), in.Take<double>());
    PlaceBar(rect, in.Take<uint32_t>());
    ComputeScaledSize(rect.Width(), rect.Height(), iw, ih, scale);
    DpiFactorFromCaps(in.Take<int32_t>(), in.Take<int32_t>(), in.Take<int32_t>());
    int32_t x = 0, y = 0;
    CenteredOrigin(rect, in.Take<double>(), in.Take<double>(), x, y);

    const FloatBox box{in.Take<float>(), in.Take<float>(), float(in.Take<int16_t>()), float(in.Take<int16_t>())};
    RoundedArcs(box, in.Take<float>());
    BorderOutlines(box, in.Take<int32_t>());

    LayoutGeometry geometry;
    geometry.orientation = in.Take<uint8_t>() % 4;
    geometry.marginLeft = in.Take<uint16_t>();
    geometry.marginTop = in.Take<uint16_t>();
    geometry.marginRight = in.Take<uint16_t>();
    geometry.marginBottom = in.Take<uint16_t>();
    geometry.spacing = in.Take<uint16_t>();
    const size_t children = in.Take<uint8_t>() % 16;
    std::vector<uint32_t> weights(in.Take<uint8_t>() % 16);
    for (uint32_t& w : weights)
        w = in.Take<uint32_t>();
    std::vector<IntRect> slots;
    ComputeLayoutSlots(geometry, rect, children, weights, scale, slots);
    return 0;
}
