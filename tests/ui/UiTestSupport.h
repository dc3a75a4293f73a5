// Shared by the UI tests: GDI+ for the test's lifetime, colour checks on
// sampled pixels, paths into the build tree, the skin the build drew, a
// message pump, and the events a recording logger was given by name.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sys/TextEncoding.h"
#include "tests/support/RecordingLogger.h"
#include "ui/GdiplusObjects.h"
#include "ui/SkinImage.h"

namespace uitest {

inline int Channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

// True when every channel is within tolerance (premultiplied values).
inline bool Near(uint32_t actual, uint32_t expected, int tolerance = 8) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) return false;
    }
    return true;
}

inline int Alpha(uint32_t argb) { return Channel(argb, 24); }

inline std::string Hex(uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", argb);
    return text;
}

// The repository is drive R: under Wine.
inline std::wstring BuildTreePath(const std::string& relative) {
    std::string path = std::string(TARVEL_BINARY_DIR).substr(std::string(TARVEL_SOURCE_DIR).size()) + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return L"R:" + Utf8ToWide(path);
}

// A picture of the skin the build drew, decoded directly.
inline std::unique_ptr<CSkinImage> SkinPicture(const std::string& name) {
    return std::unique_ptr<CSkinImage>(new CSkinImage(BuildTreePath("/generated/skin/" + name)));
}

inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class GdiplusTest : public ::testing::Test {
protected:
    GdiplusSession gdiplus_;
};

inline std::vector<RecordingLogger::Event> Named(const RecordingLogger& logger, const std::string& name) {
    std::vector<RecordingLogger::Event> found;
    for (const auto& e : logger.events) {
        if (e.name == name) found.push_back(e);
    }
    return found;
}

}  // namespace uitest
