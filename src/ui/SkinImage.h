// A decoded skin picture: a GDI+ image and the status of its last GDI+ call.
// Owned by the resource manager's index; widgets only point at it. A picture
// whose file failed to decode keeps its failure status and draws nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/GdiplusObjects.h"

class CSkinImage {
public:
    explicit CSkinImage(const std::wstring& path);
    CSkinImage(const CSkinImage&) = delete;
    CSkinImage& operator=(const CSkinImage&) = delete;

    // GDI+ memory, as the images it wraps.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    Gdiplus::GpImage* Native() const { return image_.Get(); }
    Gdiplus::GpStatus LastStatus() const { return status_; }
    // Pixel size; 0 x 0 when nothing was decoded.
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }

private:
    GdipImage image_;
    Gdiplus::GpStatus status_ = Gdiplus::GenericError;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
};
