#pragma once

#include "framework/Wnd.h"

#include <string>

// One exchange of values between a dialog's controls and the members of its C++ object.
// When m_bSaveAndValidate is TRUE the values go from the controls into the members,
// otherwise from the members into the controls.
class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);
    CDataExchange(const CDataExchange&) = delete;
    CDataExchange& operator=(const CDataExchange&) = delete;

    // The control `id` of the dialog. When the dialog has no such control the result is null
    // and the exchange counts as failed.
    HWND PrepareCtrl(int id);
    // TRUE when some control of the exchange was missing.
    BOOL Failed() const { return m_failed; }

    const BOOL m_bSaveAndValidate;
    CWnd* const m_pDlgWnd;

private:
    BOOL m_failed = FALSE;
};

// Binds `control` to the dialog's control `id`. Repeated calls leave a wrapper that is already
// bound to that control alone, so exchanging in both directions keeps the binding.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// Check box `id` <-> `value`: checked is 1, anything else 0. Loading checks the box for any
// non-zero value.
void DDX_Check(CDataExchange* pDX, int id, int& value);

// Window text of control `id` <-> `value`. Loading leaves a control that already shows the text
// untouched, so an edit control reports no EN_CHANGE for a value that did not change.
void DDX_Text(CDataExchange* pDX, int id, std::wstring& value);
