#include "tools/driver/ScreenCapture.h"

#include "tools/driver/WaitUntil.h"

#include <cstdio>
#include <vector>

namespace
{
const DWORD kPaintTimeoutMs = 5000;

// What the screen shows in `rect`, as bottom-up 24-bit rows described by `info`.
std::vector<BYTE> CaptureScreen(const RECT& rect, BITMAPINFOHEADER& info)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);

    info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD rowBytes = (width * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(rowBytes * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}
} // namespace

bool SaveClientImage(HWND window, const std::wstring& path)
{
    RECT rect;
    if (!GetClientRect(window, &rect))
        return false;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);

    // The window's own process paints it, and the picture reaches the screen a moment after
    // the painting: it counts as there once two captures in a row agree.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPaintTimeoutMs, &unused);
    BITMAPINFOHEADER info;
    std::vector<BYTE> pixels = CaptureScreen(rect, info);
    std::vector<BYTE> earlier;
    WaitUntil(
        [&]
        {
            earlier.swap(pixels);
            pixels = CaptureScreen(rect, info);
            return pixels == earlier;
        },
        kPaintTimeoutMs);

    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());

    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const bool written = fwrite(&header, sizeof header, 1, file) == 1 &&
                         fwrite(&info, sizeof info, 1, file) == 1 &&
                         fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
    return fclose(file) == 0 && written;
}
