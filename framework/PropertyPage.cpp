#include "framework/PropertyPage.h"

#include "framework/CallbackBoundary.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"

CPropertyPage::CPropertyPage(UINT templateId) : m_psp()
{
    // The sheet hands its pages over as one array, which the control walks in steps of
    // dwSize: the size must be that of the whole structure.
    m_psp.dwSize = sizeof(PROPSHEETPAGEW);
    m_psp.dwFlags = PSP_HASHELP;
    m_psp.hInstance = GetModuleHandleW(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    m_psp.pfnDlgProc = &CPropertyPage::DialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

CPropertyPage::~CPropertyPage()
{
    // A window that outlives its object must no longer reach it.
    if (const HWND hwnd = GetSafeHwnd())
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
}

BOOL CPropertyPage::UpdateData(BOOL saveAndValidate)
{
    if (!GetSafeHwnd())
        return FALSE;
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

void CPropertyPage::SetModified(BOOL changed)
{
    if (const HWND hwnd = GetSafeHwnd())
        ::SendMessageW(::GetParent(hwnd), changed ? PSM_CHANGED : PSM_UNCHANGED,
                       reinterpret_cast<WPARAM>(hwnd), 0);
}

BOOL CPropertyPage::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    return TRUE;
}

void CPropertyPage::DoDataExchange(CDataExchange*) {}

BOOL CPropertyPage::OnCommand(WORD, WORD)
{
    return FALSE;
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        // lParam is the sheet's copy of m_psp; its lParam is the page object.
        const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* page = reinterpret_cast<CPropertyPage*>(description->lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->Attach(hwnd);
    }
    auto* page = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!page)
        return FALSE;
    // A message whose handler fails counts as not handled; the failure has been shown.
    return CallGuarded(hwnd, INT_PTR(FALSE),
                       [&] { return page->Dispatch(message, wParam, lParam); });
}

INT_PTR CPropertyPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_NCDESTROY:
        SetWindowLongPtrW(GetSafeHwnd(), DWLP_USER, 0);
        Detach();
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CPropertyPage::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != ::GetParent(GetSafeHwnd()))
        return FALSE;
    LONG_PTR result;
    switch (header.code)
    {
    case PSN_KILLACTIVE:
        // A handler that fails refuses. The sheet reads TRUE as "the page is not valid, stay".
        m_refused = !CallGuarded(GetSafeHwnd(), FALSE, [this] { return OnKillActive(); });
        result = m_refused ? TRUE : FALSE;
        break;
    case PSN_APPLY:
        m_refused = !CallGuarded(GetSafeHwnd(), FALSE, [this] { return OnApply(); });
        result = m_refused ? PSNRET_INVALID_NOCHANGEPAGE : PSNRET_NOERROR;
        break;
    case PSN_HELP:
        if (CWinApp* app = AfxGetApp())
            app->OnCommand(ID_HELP);
        return TRUE;
    default:
        return FALSE;
    }
    SetWindowLongPtrW(GetSafeHwnd(), DWLP_MSGRESULT, result);
    return TRUE;
}
