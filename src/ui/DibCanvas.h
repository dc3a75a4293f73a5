// A 32-bit bottom-up DIB section selected into a memory device context: what
// the layered paint draws into, and what tests render widgets into to sample
// their pixels. Pixels start as 0 (fully transparent black).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "sys/Win32Handle.h"

class CDibCanvas {
public:
    // compatibleWith null: compatible with the screen.
    CDibCanvas(HDC compatibleWith, int32_t width, int32_t height);
    ~CDibCanvas();
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    bool IsValid() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Premultiplied ARGB of the pixel at (x, y) from the top-left; 0 outside.
    uint32_t Pixel(int32_t x, int32_t y) const;
    // Copies what the window shows on screen at its client origin.
    bool CopyFromWindow(HWND window);
    // Needs GDI+ running.
    bool SavePng(const std::wstring& path) const;

private:
    int32_t width_;
    int32_t height_;
    MemoryDc dc_;
    GdiObject bitmap_;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};
