#include "framework/DataExchange.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    const HWND control = m_pDlgWnd->GetDlgItem(id).GetSafeHwnd();
    if (!control)
        m_failed = TRUE;
    return control;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    const HWND hwnd = pDX->PrepareCtrl(id);
    if (hwnd && control.GetSafeHwnd() != hwnd)
        control.Attach(hwnd);
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    CWnd box(pDX->PrepareCtrl(id));
    if (!box.GetSafeHwnd())
        return;
    if (pDX->m_bSaveAndValidate)
        value = box.SendMessageW(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    else
        box.SendMessageW(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_Text(CDataExchange* pDX, int id, std::wstring& value)
{
    CWnd control(pDX->PrepareCtrl(id));
    if (!control.GetSafeHwnd())
        return;
    if (pDX->m_bSaveAndValidate)
        value = control.GetWindowTextW();
    else if (control.GetWindowTextW() != value)
        control.SetWindowTextW(value.c_str());
}
