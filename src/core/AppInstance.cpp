#include "core/AppInstance.h"

namespace {
HINSTANCE g_instance = nullptr;
}

void SetAppInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE GetAppInstance() { return g_instance ? g_instance : ::GetModuleHandleW(nullptr); }
