// The property sheet worked with a game controller.
#include "framework/PropertySheet.h"

#include "framework/DirectionalFocus.h"
#include "framework/Gamepad.h"

namespace
{
// How often a connected controller is read, which is the longest a press waits before it is
// acted on. A player takes an answer within a tenth of a second as immediate; 25 ms keeps a
// press inside that even when the busy thread takes a read late.
const UINT kReadIntervalMs = 25;
// How often the sheet looks for a controller while none is connected.
const UINT kSearchIntervalMs = 1000;

bool IsOfClass(HWND window, const wchar_t* className)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpiW(name, className) == 0;
}

bool IsPushButtonOrCheckBox(HWND window)
{
    if (!IsOfClass(window, L"Button"))
        return false;
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type != BS_GROUPBOX && type != BS_OWNERDRAW;
}

// A message box of `sheet`: a dialog the sheet owns.
bool IsMessageBoxOf(HWND window, HWND sheet)
{
    return window && GetWindow(window, GW_OWNER) == sheet && IsOfClass(window, L"#32770");
}

// A dialog makes the push button with the focus its default one, and a message box puts the
// focus on its default button: that is the button Enter clicks.
void PressDefaultButton(HWND dialog)
{
    const HWND button = GetFocus();
    if (IsChild(dialog, button) &&
        (::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
}

// A presses the box's default button and B closes it, as Enter and Esc do.
void AnswerMessageBox(HWND box, PadActions actions)
{
    if (actions & PadActionBit(PadAction::Activate))
        PressDefaultButton(box);
    else if (actions & PadActionBit(PadAction::Cancel))
        ::SendMessageW(box, WM_COMMAND, IDCANCEL,
                       reinterpret_cast<LPARAM>(GetDlgItem(box, IDCANCEL)));
}
} // namespace

void CPropertySheet::OnGamepadConnected(bool) {}

void CPropertySheet::StartReadingGamepad()
{
    if (!m_pGamepad || !GetSafeHwnd())
        return;
    m_padRepeat = CPadRepeat::WithKeyboardSettings();
    m_padRepeat.Reset();
    ReadGamepad();
    SetGamepadTimer();
}

void CPropertySheet::SetGamepadTimer()
{
    m_gamepadReadInterval = m_gamepadConnected ? kReadIntervalMs : kSearchIntervalMs;
    SetTimer(GetSafeHwnd(), kGamepadTimer, m_gamepadReadInterval, nullptr);
}

void CPropertySheet::ReadGamepad()
{
    XINPUT_GAMEPAD pad = {};
    const bool connected = m_pGamepad && m_pGamepad->Read(pad);
    if (connected != m_gamepadConnected)
    {
        m_gamepadConnected = connected;
        // A controller just plugged in may have a button down already.
        m_padRepeat.Reset();
        SetGamepadTimer();
        OnGamepadConnected(connected);
    }
    if (!connected)
        return;
    const PadActions actions = m_padRepeat.Update(HeldPadActions(pad), GetTickCount());
    const HWND front = GetForegroundWindow();
    if (front != GetSafeHwnd())
    {
        if (IsMessageBoxOf(front, GetSafeHwnd()))
            AnswerMessageBox(front, actions);
        return;
    }
    for (int index = 0; index < kPadActionCount; ++index)
    {
        // An action that closed the sheet leaves nothing for the others to act on.
        if ((actions & PadActionBit(static_cast<PadAction>(index))) && GetSafeHwnd())
            PerformPadAction(static_cast<PadAction>(index));
    }
}

void CPropertySheet::PerformPadAction(PadAction action)
{
    // Windows hides the focus until the keyboard is used; the controller shows it too.
    SendMessageW(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    switch (action)
    {
    case PadAction::MoveUp:
    case PadAction::MoveDown:
    case PadAction::MoveLeft:
    case PadAction::MoveRight:
        MovePadFocus(action);
        break;
    case PadAction::Activate:
        ActivateFocusedControl();
        break;
    case PadAction::Cancel:
        PressRowButton(IDCANCEL);
        break;
    case PadAction::PreviousPage:
    case PadAction::NextPage:
        ShowNeighbourPage(action == PadAction::PreviousPage);
        break;
    case PadAction::Ok:
        PressRowButton(IDOK);
        break;
    case PadAction::Apply:
        PressRowButton(ID_APPLY_NOW);
        break;
    }
}

void CPropertySheet::MovePadFocus(PadAction move)
{
    const HWND hwnd = GetSafeHwnd();
    const HWND focus = GetFocus();
    const bool vertical = move == PadAction::MoveUp || move == PadAction::MoveDown;
    const bool forward = move == PadAction::MoveDown || move == PadAction::MoveRight;
    if (IsChild(hwnd, focus) && IsOfClass(focus, L"ListBox") && vertical)
    {
        // Within a list the move goes to the list, as the arrow key would, until its end.
        const LRESULT selection = ::SendMessageW(focus, LB_GETCURSEL, 0, 0);
        const LRESULT count = ::SendMessageW(focus, LB_GETCOUNT, 0, 0);
        if (count > 0 && (forward ? selection < count - 1 : selection != 0))
        {
            ::SendMessageW(focus, WM_KEYDOWN, forward ? VK_DOWN : VK_UP, 0);
            return;
        }
    }
    if (focus && focus == PropSheet_GetTabControl(hwnd) && !vertical)
    {
        ShowNeighbourPage(!forward);
        return;
    }

    HWND target = nullptr;
    if (IsChild(hwnd, focus))
        target = ControlInDirection(hwnd, focus, move);
    else
        // The focus is nowhere a move can start from: it goes to the page's first control.
        target = GetNextDlgTabItem(PropSheet_GetCurrentPageHwnd(hwnd), nullptr, FALSE);
    if (target)
        SendMessageW(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void CPropertySheet::ActivateFocusedControl()
{
    const HWND focus = GetFocus();
    if (!IsChild(GetSafeHwnd(), focus) || !::IsWindowEnabled(focus))
        return;
    if (IsPushButtonOrCheckBox(focus))
    {
        // What Space does: a check box changes, a button is pressed.
        ::SendMessageW(focus, BM_CLICK, 0, 0);
        return;
    }
    if (IsOfClass(focus, L"ListBox") && ::SendMessageW(focus, LB_GETCURSEL, 0, 0) != LB_ERR)
    {
        // The line shown selected becomes the choice, as a click on it makes it. A list may
        // show a line selected that its page has not taken as chosen yet.
        const WPARAM command = MAKEWPARAM(GetDlgCtrlID(focus), LBN_SELCHANGE);
        ::SendMessageW(GetParent(focus), WM_COMMAND, command, reinterpret_cast<LPARAM>(focus));
    }
}

void CPropertySheet::PressRowButton(int id)
{
    // As its click would: a greyed or hidden button does nothing.
    const HWND button = GetDlgItem(id).GetSafeHwnd();
    if (!button || !::IsWindowVisible(button) || !::IsWindowEnabled(button))
        return;
    SendMessageW(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
