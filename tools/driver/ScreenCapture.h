#pragma once

#include <windows.h>

#include <string>

// Saves what the screen shows inside `window`'s client area as a 24-bit BMP file. The frame
// is left out: on a virtual display without a window manager nobody draws it.
bool SaveClientImage(HWND window, const std::wstring& path);
