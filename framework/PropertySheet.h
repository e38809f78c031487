#pragma once

#include "framework/PadRepeat.h"
#include "framework/Wnd.h"

#include <commctrl.h>

#include <string>
#include <vector>

class CGamepad;
class CPropertyPage;

// The control id of a property sheet's Apply button.
constexpr WORD ID_APPLY_NOW = 0x3021;

// A property sheet with tabs for its pages and the standard button row (OK, Cancel, Apply,
// Help), run by the common controls' property sheet control.
//
// The sheet's window is subclassed as soon as the control reports it initialised, so that
// the sheet object sees the window's messages:
// - OnInitDialog runs once the sheet window and its start page exist, and the sheet is shown
//   only after it: the player never sees a template's caption, and whoever waits for the
//   window to become visible finds it complete. When OnInitDialog fails (throws), the player
//   is told and the sheet is cancelled.
// - Clicks of OK and Apply go to the virtual OnOK and OnApplyNow. While one of them runs, and
//   while PressButton runs, further OK and Apply commands go straight to the control: a
//   handler that presses its own button (which comes back as WM_COMMAND on some versions of
//   the control) gets the control's processing and is not entered again.
// - Cancel and the close box are left to the control, which closes the sheet.
// - Ctrl+Tab and Ctrl+Shift+Tab show the next and the previous page, wrapping around; the
//   focus, when it was on the page left, goes to the first control of the page shown.
// - With a game controller (UseGamepad), the D-pad and the left stick move: in a list they
//   change the selection, until its first or last line, and elsewhere they move the focus to
//   the nearest control in that direction; left and right on the tab strip change the page.
//   A clicks the focused button or check box and chooses the line shown in a list, B is
//   Cancel, LB and RB show the previous and the next page, Start is OK, Back is Apply. Once
//   the controller is used the focus is shown. While a message box of the sheet is in front,
//   A presses the box's default button and B closes it, as Enter and Esc do, and nothing else
//   acts.
//
// Why it takes these steps, and no fewer:
// - The control's callback gets no data of the caller, so the object whose PropertySheetW
//   call is under way is handed to it through a thread-local pointer.
// - The callback comes before the control creates the start page, so OnInitDialog runs
//   from a message the callback posts, the first point at which both surely exist.
// - The control shows the sheet as soon as it created it, before that message runs, so the
//   sheet's template is made invisible before creation and the sheet shows itself once
//   OnInitDialog returned.
// - OK and Apply must be caught as clicks, not in PSN_APPLY: the launcher starts the game
//   after the control applied and before it closes, and keeps the sheet open when the game
//   does not start; a page's PSN_APPLY comes before the apply is complete and only to pages
//   whose window exists.
// - The control reports nothing back from PSM_PRESSBUTTON, so the pages record a refusal
//   during a press and PressButton returns it.
// - The controller is read by a timer of the sheet window, on the user-interface thread: what
//   it does moves the focus, clicks controls and closes the sheet, which only this thread may
//   do, and XInputGetState answers at once, so no thread of its own is needed. The timer also
//   runs in the modal loop of a message box of the sheet, which has no controller of its own
//   and would otherwise leave a player with nothing but a controller stuck.
// - A press acts on the window in front when the sheet reads it. A controller also works the
//   program in front, so behind any other window a press does nothing. The timer runs all the
//   while the sheet is open: a button that went down behind another window is seen going down
//   there, and stays held, not pressed, once the sheet is in front again.
// - Without a connected controller the timer looks for one only once a second: asking XInput
//   for an empty slot is slow, and a controller plugged in is found soon enough.
// - The controller is first read once the sheet has painted itself, from a timer set when it
//   is shown (a timer's message comes only after every paint): loading XInput and its first
//   read, which has Wine look for input devices, are no part of what the player waits for.
class CPropertySheet : public CWnd
{
public:
    // The caption is copied. `parent` may be null; `selectPage` is the index of the page
    // that opens first.
    explicit CPropertySheet(const wchar_t* caption, CWnd* parent = nullptr, UINT selectPage = 0);
    virtual ~CPropertySheet();
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Adds `page` as the next tab. Pages are added before the sheet runs and must live as
    // long as the sheet.
    void AddPage(CPropertyPage* page);

    // Runs the sheet modally and returns what the property sheet control reports: positive
    // when the sheet was closed with OK, 0 when it was cancelled (some versions of the control
    // also count an earlier Apply as positive), -1 when the sheet could not be shown: it has
    // no pages, it is open already, or the control failed.
    INT_PTR DoModal();

    // Opens the sheet modeless and returns its window, or null when it could not be shown (as
    // for DoModal). OnInitDialog has run when this returns. The caller pumps messages through
    // PropSheet_IsDialogMessage and destroys the window once PropSheet_GetCurrentPageHwnd
    // returns null (the sheet was closed by OK or Cancel); PropSheet_GetResult then tells what
    // a modal run would have returned. A sheet destroyed while open closes its window.
    HWND Create();

    // The sheet's tab control; an empty wrapper when the sheet has no window.
    CWnd GetTabControl() const;
    // Presses one of the sheet's buttons (PSBTN_OK, PSBTN_APPLYNOW, ...) with the control's
    // own processing. It never reaches OnOK or OnApplyNow. False when a page refused to be
    // left or to apply during the press (the control then stopped there), true otherwise.
    bool PressButton(int button);
    // The page whose tab is selected, or null when the sheet has no window.
    CPropertyPage* GetActivePage() const;

    // Reads `gamepad` (not owned, null for none) while the sheet is open. Called before the
    // sheet runs; the controller must outlive the sheet's window.
    void UseGamepad(CGamepad* gamepad) { m_pGamepad = gamepad; }
    // How often the sheet reads the controller now, in milliseconds: the longest a press waits
    // before it is acted on. 0 before the sheet reads one.
    UINT GetGamepadReadInterval() const { return m_gamepadReadInterval; }
    // Lays out the sheet and its pages with a dialog font of `points` instead of the
    // templates' own: dialog units follow the font, so every control grows with it. 0 keeps
    // the templates' font. Called before the sheet runs.
    void SetDialogFontSize(WORD points) { m_dialogFontSize = points; }

    // Runs once the sheet window and its start page exist. Derived sheets call the base first.
    // The base returns TRUE. The result is not used: the control has set the focus already.
    virtual BOOL OnInitDialog();

    // The sheet description. Owners may change dwFlags (for example clear PSH_HASHELP, which is
    // set by default) and the other options; the page list, the callback and the modal or
    // modeless flag are filled in when the sheet runs.
    PROPSHEETHEADERW m_psh;

protected:
    // The OK button. The base lets the control apply and close the sheet.
    virtual void OnOK();
    // The Apply button. The base lets the control apply.
    virtual void OnApplyNow();
    // Runs when the sheet finds a controller connected, or no longer connected. The base does
    // nothing.
    virtual void OnGamepadConnected(bool connected);

private:
    static constexpr UINT_PTR kGamepadTimer = 0x47D0;
    static constexpr UINT_PTR kGamepadStartTimer = 0x47D1;

    INT_PTR Run(bool modeless);
    void CompleteInit();
    void ShowNeighbourPage(bool previous);
    bool UsePageTemplatesWithFont(std::vector<PROPSHEETPAGEW>& pages);

    // The controller's part, in PropertySheet_Gamepad.cpp.
    void StartReadingGamepad();
    void ReadGamepad();
    void SetGamepadTimer();
    void PerformPadAction(PadAction action);
    void MovePadFocus(PadAction move);
    void ActivateFocusedControl();
    void PressRowButton(int id);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR sheet);

    std::wstring m_caption;
    std::vector<CPropertyPage*> m_pages;
    bool m_initPending = false;
    // Non-zero while OK and Apply commands go to the control instead of the handlers.
    int m_passThroughDepth = 0;
    WORD m_dialogFontSize = 0;
    // The pages' templates with the font of m_dialogFontSize, while the sheet may create pages.
    std::vector<std::vector<BYTE>> m_pageTemplates;
    CGamepad* m_pGamepad = nullptr;
    CPadRepeat m_padRepeat{500, 33};
    bool m_gamepadConnected = false;
    UINT m_gamepadReadInterval = 0;
};
