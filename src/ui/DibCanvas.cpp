#include "ui/DibCanvas.h"

#include <vector>

#include "ui/GdiplusObjects.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The image-size field of the header: whole 32-bit rows.
DWORD ImageSize(int32_t width, int32_t height) { return static_cast<DWORD>((((width * 32 + 31) >> 3) & ~3) * height); }

bool FindPngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType != nullptr && wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

CDibCanvas::CDibCanvas(HDC compatibleWith, int32_t width, int32_t height)
    : width_(width), height_(height), dc_(::CreateCompatibleDC(compatibleWith)) {
    if (!dc_ || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = ImageSize(width, height);
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    ::SetBkMode(dc_.Get(), TRANSPARENT);
}

CDibCanvas::~CDibCanvas() {
    if (previous_ != nullptr) ::SelectObject(dc_.Get(), previous_);
}

uint32_t CDibCanvas::Pixel(int32_t x, int32_t y) const {
    if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    ::GdiFlush();
    return bits_[static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

bool CDibCanvas::CopyFromWindow(HWND window) {
    WindowDc source(window);
    if (source.Get() == nullptr || bits_ == nullptr) return false;
    const bool copied = ::BitBlt(dc_.Get(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY) != FALSE;
    // A screen copy carries no alpha: make it opaque so the PNG shows it.
    ::GdiFlush();
    for (size_t i = 0; i < static_cast<size_t>(width_) * static_cast<size_t>(height_); ++i)
        bits_[i] |= 0xFF000000u;
    return copied;
}

bool CDibCanvas::SavePng(const std::wstring& path) const {
    if (bits_ == nullptr) return false;
    CLSID png{};
    if (!FindPngEncoder(png)) return false;
    ::GdiFlush();
    // Premultiplied rows, bottom-up: a negative stride walks them top-down.
    const INT stride = width_ * 4;
    BYTE* lastRow = reinterpret_cast<BYTE*>(bits_) + static_cast<size_t>(height_ - 1) * static_cast<size_t>(stride);
    GpBitmap* raw = nullptr;
    if (GdipCreateBitmapFromScan0(width_, height_, -stride, PixelFormat32bppPARGB, lastRow, &raw) != Ok) return false;
    GdipImage bitmap(raw);
    return GdipSaveImageToFile(bitmap.Get(), path.c_str(), &png, nullptr) == Ok;
}
