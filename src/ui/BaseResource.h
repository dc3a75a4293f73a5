// The base of every widget: a typed, identified rectangle that draws itself
// with GDI+ on the device context a view hands it and places itself when a
// layout gives it a slot. Widgets live on the user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/LayoutMath.h"

// Type codes: the hit test and the pages' mouse rules dispatch on them.
enum WidgetType : int32_t {
    kTypeBackground = 0,  // image under everything: see-through for hit testing
    kTypeImage = 1,
    kTypeButton = 2,
    kTypeCheckbox = 3,
    kTypeMovie = 4,  // see-through for hit testing
    kTypeText = 5,
    kTypeEdit = 6,
    kTypeProgress = 7,
    kTypeLayout = 9,  // skipped by hit testing
    kTypeSpacer = 10,
};

class IBaseResource {
public:
    IBaseResource(int32_t typeCode, int32_t widgetId) : type(typeCode), id(widgetId) {}
    virtual ~IBaseResource() = default;
    IBaseResource(const IBaseResource&) = delete;
    IBaseResource& operator=(const IBaseResource&) = delete;

    virtual bool Draw(HDC dc) = 0;
    virtual bool SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;

    int32_t type;
    int32_t id;  // chosen by the page; several widgets may share one
    IntRect rect;
    bool visible = true;  // a hidden widget draws nothing but is still hit-tested
};
