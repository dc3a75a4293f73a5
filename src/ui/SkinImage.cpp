#include "ui/SkinImage.h"

#include <new>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

CSkinImage::CSkinImage(const std::wstring& path) {
    status_ = GdipLoadImageFromFile(path.c_str(), image_.Receive());
    if (status_ != Ok) return;
    UINT w = 0, h = 0;
    status_ = GdipGetImageWidth(image_.Get(), &w);
    if (status_ == Ok) status_ = GdipGetImageHeight(image_.Get(), &h);
    if (status_ != Ok) return;
    width_ = w;
    height_ = h;
}

void* CSkinImage::operator new(std::size_t size) {
    if (void* block = GdipAlloc(size)) return block;
    throw std::bad_alloc();
}

void CSkinImage::operator delete(void* block) noexcept { GdipFree(block); }
