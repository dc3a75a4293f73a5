// Shared by the UI tests: GDI+ for the test's lifetime, colour checks on
// sampled pixels, paths into the build tree, the skin the build drew, a
// message pump, and an event logger that records what it is asked to send.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/LoggerServer.h"
#include "sys/TextEncoding.h"
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

struct SentEvent {
    std::string name;
    std::map<std::string, std::string> texts;
};

// Records the events a component sends through the logger interface.
class RecordingLogger final : public ILoggerServer {
public:
    std::vector<SentEvent> sent;

    std::vector<SentEvent> Named(const std::string& name) const {
        std::vector<SentEvent> found;
        for (const SentEvent& e : sent) {
            if (e.name == name) found.push_back(e);
        }
        return found;
    }

    bool SendEvent(const char* name) override {
        sent.push_back({name, pending_});
        return true;
    }
    void ClearProperties() override { pending_.clear(); }
    void SetStringProperty(const char* key, const char* value) override { pending_.emplace(key, value); }
    void SetIntProperty(const char* key, int32_t value) override { pending_.emplace(key, std::to_string(value)); }
    void SetBoolProperty(const char* key, bool value) override { pending_.emplace(key, value ? "true" : "false"); }

    bool WriteClickRecord(const char*, const char*, const char*) override { return true; }
    bool WriteStateRecord(int, const char*, const char*, const char*, const char*, std::vector<std::string>) override {
        return true;
    }
    bool WriteStartRecord(int, const char*, const char*, const char*) override { return true; }
    std::string BuildHttpData(int, const std::string& bytes) override { return bytes; }
    std::string DecryptData(const std::string& bytes) override { return bytes; }
    std::string GetMid() override { return {}; }
    std::string GetMidEx(int) override { return {}; }
    bool Reinitialize() override { return true; }
    bool ReleaseSdk() override { return true; }
    bool OpenUrl(const char*) override { return true; }
    int Reserved(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t) override { return 0; }

private:
    std::map<std::string, std::string> pending_;
};

}  // namespace uitest
