// The module instance handle kept by the entry function; the window base
// registers its window classes with it.
#pragma once

#include <windows.h>

void SetAppInstance(HINSTANCE instance);
HINSTANCE GetAppInstance();
