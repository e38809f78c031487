#include "ui/HandheldLayout.h"

namespace
{
bool IsSetToOne(const wchar_t* name)
{
    wchar_t value[4] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 4);
    return length == 1 && value[0] == L'1';
}
} // namespace

bool RunsOnHandheld()
{
    return IsSetToOne(L"SteamDeck") || IsSetToOne(L"SteamGamepadUI");
}

WORD HandheldDialogFontSize()
{
    const WORD templatePoints = 8;
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    const int points = MulDiv(templatePoints * 3 / 2, 96, dpi > 0 ? dpi : 96);
    return static_cast<WORD>(points > templatePoints ? points : templatePoints);
}

void CentreOnMonitor(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& area = monitor.rcWork;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A window larger than the area keeps its top left corner on it.
    const int left =
        area.left + (width < area.right - area.left ? (area.right - area.left - width) / 2 : 0);
    const int top =
        area.top + (height < area.bottom - area.top ? (area.bottom - area.top - height) / 2 : 0);
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
