// Owners for GDI+ flat-API objects and for the GDI+ session itself. Widgets
// create every brush, pen, path, font and format for one Draw call and let
// these owners release them at its end.
#pragma once

#include <windows.h>
// The build's WIN32_LEAN_AND_MEAN leaves out what gdiplus.h needs from here.
#include <objidl.h>

#include <gdiplus.h>

#include <utility>

template <typename T, Gdiplus::GpStatus(WINGDIPAPI* Delete)(T*)>
class GdipOwner {
public:
    GdipOwner() noexcept = default;
    explicit GdipOwner(T* object) noexcept : object_(object) {}
    ~GdipOwner() { Reset(); }
    GdipOwner(GdipOwner&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    GdipOwner& operator=(GdipOwner&& other) noexcept {
        if (this != &other) {
            Reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    GdipOwner(const GdipOwner&) = delete;
    GdipOwner& operator=(const GdipOwner&) = delete;

    T* Get() const noexcept { return object_; }
    // For the flat API's out-parameters; releases what was held.
    T** Receive() noexcept {
        Reset();
        return &object_;
    }
    explicit operator bool() const noexcept { return object_ != nullptr; }
    void Reset() noexcept {
        if (object_) Delete(object_);
        object_ = nullptr;
    }

private:
    T* object_ = nullptr;
};

using GdipGraphics = GdipOwner<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>;
using GdipBrush = GdipOwner<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>;
using GdipPen = GdipOwner<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>;
using GdipPath = GdipOwner<Gdiplus::GpPath, Gdiplus::DllExports::GdipDeletePath>;
using GdipFont = GdipOwner<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>;
using GdipFontFamily = GdipOwner<Gdiplus::GpFontFamily, Gdiplus::DllExports::GdipDeleteFontFamily>;
using GdipStringFormat = GdipOwner<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>;
using GdipImage = GdipOwner<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>;

// GDI+ running for the owner's lifetime.
class GdiplusSession {
public:
    GdiplusSession() noexcept {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
    }
    ~GdiplusSession() {
        if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool IsRunning() const noexcept { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};
