#pragma once

#include "framework/Wnd.h"

#include <commctrl.h>

class CDataExchange;

// One page of a property sheet, built on a dialog template of the executable.
//
// The page's dialog procedure finds its C++ object without any global table: the lParam of
// the PROPSHEETPAGEW carries `this`, the page window receives that structure with
// WM_INITDIALOG, and from then on the object pointer is kept in the window's DWLP_USER.
//
// The page window exists from the first time its tab is shown until the sheet closes; the
// wrapper's handle is null before and after.
class CPropertyPage : public CWnd
{
public:
    explicit CPropertyPage(UINT templateId);
    virtual ~CPropertyPage();
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // Runs DoDataExchange: from the controls into the members when `saveAndValidate` is TRUE,
    // from the members into the controls otherwise. FALSE when the page has no window or a
    // control of the exchange is missing.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Tells the sheet that this page has (TRUE) or no longer has (FALSE) changes to apply.
    // The sheet's Apply button is enabled while any page has. Does nothing without a window.
    void SetModified(BOOL changed = TRUE);

    // Runs when the page window has been created. The base loads the members into the
    // controls (UpdateData(FALSE)) and returns TRUE, which gives the focus to the first
    // control that takes it.
    virtual BOOL OnInitDialog();
    // Runs when the page is about to be left, and before the sheet applies. Returning FALSE
    // keeps the page active and stops the apply. The base takes the controls' values into
    // the members (UpdateData(TRUE)) and returns its result.
    virtual BOOL OnKillActive();
    // Runs when the sheet applies (OK or Apply). Returning FALSE keeps the sheet open with
    // this page active. The base returns TRUE.
    virtual BOOL OnApply();

    // The page description handed to the property sheet. Owners may change dwFlags (for
    // example clear PSP_HASHELP, which is set by default) and the other options; dwSize,
    // pfnDlgProc and lParam belong to the framework and must stay as they are.
    PROPSHEETPAGEW m_psp;

protected:
    // Binds control members and exchanges values; see DataExchange.h. The base does nothing.
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs for WM_COMMAND from the page's controls with the control id and the notification
    // code (BN_CLICKED, EN_CHANGE, LBN_SELCHANGE, ...). Returns TRUE when the page handled it.
    // The base handles nothing.
    virtual BOOL OnCommand(WORD id, WORD code);

private:
    // Reads and clears m_refused around a press of a button.
    friend class CPropertySheet;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // Answers the sheet's notifications; those of the page's own controls are left alone.
    INT_PTR OnNotify(const NMHDR& header);

    // Set when the page refused to be left or to apply.
    bool m_refused = false;
};
