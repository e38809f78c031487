#include "framework/DirectionalFocus.h"

#include <commctrl.h>

#include <climits>
#include <vector>

namespace
{
bool IsOfClass(HWND window, const wchar_t* className)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpiW(name, className) == 0;
}

bool IsTabControl(HWND window)
{
    return IsOfClass(window, WC_TABCONTROLW);
}

BOOL CALLBACK CollectCandidate(HWND window, LPARAM candidates)
{
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    // A page is a dialog that holds controls; its controls count, not the page.
    const bool holdsControls = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0 ||
                               IsOfClass(window, L"#32770");
    if ((style & WS_TABSTOP) && !holdsControls && IsWindowVisible(window) &&
        IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(candidates)->push_back(window);
    return TRUE;
}

// How far apart two ranges [a0, a1) and [b0, b1) are; 0 when they overlap.
int Gap(LONG a0, LONG a1, LONG b0, LONG b1)
{
    if (b0 >= a1)
        return b0 - a1;
    if (a0 >= b1)
        return a0 - b1;
    return 0;
}
} // namespace

RECT LayoutRect(HWND control)
{
    RECT rect = {};
    const int tabs = IsTabControl(control) ? TabCtrl_GetItemCount(control) : 0;
    if (tabs <= 0)
    {
        GetWindowRect(control, &rect);
        return rect;
    }
    for (int index = 0; index < tabs; ++index)
    {
        RECT item = {};
        TabCtrl_GetItemRect(control, index, &item);
        UnionRect(&rect, &rect, &item);
    }
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND ControlInDirection(HWND sheet, HWND from, PadAction move)
{
    std::vector<HWND> candidates;
    EnumChildWindows(sheet, &CollectCandidate, reinterpret_cast<LPARAM>(&candidates));
    const RECT origin = LayoutRect(from);
    const bool vertical = move == PadAction::MoveUp || move == PadAction::MoveDown;
    const bool forward = move == PadAction::MoveDown || move == PadAction::MoveRight;

    HWND best = nullptr;
    long long bestScore = LLONG_MAX;
    for (HWND candidate : candidates)
    {
        if (candidate == from)
            continue;
        const RECT rect = LayoutRect(candidate);
        // Along the move: the candidate's near edge must lie beyond the origin's, and its
        // centre beyond the origin's centre. Controls that overlap a little, like check boxes
        // stacked closer than they are tall, still count as lying below one another.
        const LONG originStart = vertical ? origin.top : origin.left;
        const LONG originEnd = vertical ? origin.bottom : origin.right;
        const LONG start = vertical ? rect.top : rect.left;
        const LONG end = vertical ? rect.bottom : rect.right;
        const bool beyond = forward ? start > originStart && start + end > originStart + originEnd
                                    : end < originEnd && start + end < originStart + originEnd;
        if (!beyond)
            continue;
        const int along = forward ? Gap(originStart, originEnd, start, end)
                                  : Gap(start, end, originStart, originEnd);
        const int across = vertical ? Gap(origin.left, origin.right, rect.left, rect.right)
                                    : Gap(origin.top, origin.bottom, rect.top, rect.bottom);
        // Off to the side weighs twice as much as further on, so that the control straight
        // ahead wins; between equals, the one whose centre lies closer to the line wins.
        const LONG offCentre = vertical ? (rect.left + rect.right) - (origin.left + origin.right)
                                        : (rect.top + rect.bottom) - (origin.top + origin.bottom);
        const long long score = (static_cast<long long>(along) + 2LL * across) * 65536 +
                                (offCentre < 0 ? -offCentre : offCentre);
        if (score < bestScore)
        {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}
