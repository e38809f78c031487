#pragma once

#include <windows.h>

#include <string>

// Saves what the screen shows inside `window`'s rectangle as a 24-bit BMP file.
bool SaveWindowImage(HWND window, const std::wstring& path);
