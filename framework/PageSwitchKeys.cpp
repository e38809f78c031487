#include "framework/PageSwitchKeys.h"

#include <commctrl.h>
#include <prsht.h>

namespace
{
const UINT_PTR kSubclassId = 0x5053;

// A focus that was on the page left goes on to the first control of the page shown; one on
// the tabs or the buttons stays where it is.
void ShowNeighbourPage(HWND sheet, bool previous)
{
    const int count = TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet));
    const HWND left = PropSheet_GetCurrentPageHwnd(sheet);
    const int current = PropSheet_HwndToIndex(sheet, left);
    if (count <= 0 || current < 0)
        return;
    const bool focusOnPage = IsChild(left, GetFocus()) != FALSE;
    PropSheet_SetCurSel(sheet, nullptr, (current + (previous ? count - 1 : 1)) % count);
    const HWND shown = PropSheet_GetCurrentPageHwnd(sheet);
    if (!focusOnPage || shown == left)
        return;
    if (const HWND first = GetNextDlgTabItem(shown, nullptr, FALSE))
        SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

LRESULT CALLBACK PageSwitchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR)
{
    // IsDialogMessage answers Tab with WM_NEXTDLGCTL: lParam 0, wParam non-zero for Shift.
    // The key state is that of the key message being handled.
    if (message == WM_NEXTDLGCTL && LOWORD(lParam) == 0 && GetKeyState(VK_CONTROL) < 0)
    {
        ShowNeighbourPage(hwnd, wParam != 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, &PageSwitchProc, kSubclassId);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
} // namespace

bool AddPageSwitchKeys(HWND sheet)
{
    return SetWindowSubclass(sheet, &PageSwitchProc, kSubclassId, 0) != FALSE;
}
