#include "framework/PropertySheet.h"

#include "framework/CallbackBoundary.h"
#include "framework/DialogTemplate.h"
#include "framework/PropertyPage.h"

#include <algorithm>

namespace
{
// The sheet whose PropertySheetW call is under way on this thread. The callback takes it
// before anything else could start another sheet.
thread_local CPropertySheet* t_sheetBeingCreated = nullptr;

// Posted to the sheet window from the control's initialisation callback.
UINT InitDialogMessage()
{
    static const UINT message = RegisterWindowMessageW(L"CPropertySheet.InitDialog");
    return message;
}

// Raises a counter for its own lifetime.
class DepthGuard
{
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};
} // namespace

CPropertySheet::CPropertySheet(const wchar_t* caption, CWnd* parent, UINT selectPage)
    : m_psh(), m_caption(caption ? caption : L"")
{
    m_psh.dwSize = sizeof(PROPSHEETHEADERW);
    m_psh.dwFlags = PSH_HASHELP;
    m_psh.hwndParent = parent ? parent->GetSafeHwnd() : nullptr;
    m_psh.hInstance = GetModuleHandleW(nullptr);
    m_psh.pszCaption = m_caption.c_str();
    m_psh.nStartPage = selectPage;
}

CPropertySheet::~CPropertySheet()
{
    // A modeless sheet still open is closed while this object can still take its messages.
    if (const HWND hwnd = GetSafeHwnd())
        DestroyWindow(hwnd);
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
}

INT_PTR CPropertySheet::DoModal()
{
    return Run(false);
}

HWND CPropertySheet::Create()
{
    if (Run(true) == -1 || !GetSafeHwnd())
        return nullptr;
    CompleteInit();
    return GetSafeHwnd();
}

CWnd CPropertySheet::GetTabControl() const
{
    const HWND hwnd = GetSafeHwnd();
    return CWnd(hwnd ? PropSheet_GetTabControl(hwnd) : nullptr);
}

bool CPropertySheet::PressButton(int button)
{
    DepthGuard passThrough(m_passThroughDepth);
    for (CPropertyPage* page : m_pages)
        page->m_refused = false;
    SendMessageW(PSM_PRESSBUTTON, static_cast<WPARAM>(button));
    return std::none_of(m_pages.begin(), m_pages.end(),
                        [](const CPropertyPage* page) { return page->m_refused; });
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    const HWND hwnd = GetSafeHwnd();
    const HWND current = hwnd ? PropSheet_GetCurrentPageHwnd(hwnd) : nullptr;
    if (!current)
        return nullptr;
    for (CPropertyPage* page : m_pages)
    {
        if (page->GetSafeHwnd() == current)
            return page;
    }
    return nullptr;
}

BOOL CPropertySheet::OnInitDialog()
{
    return TRUE;
}

void CPropertySheet::OnOK()
{
    PressButton(PSBTN_OK);
}

void CPropertySheet::OnApplyNow()
{
    PressButton(PSBTN_APPLYNOW);
}

INT_PTR CPropertySheet::Run(bool modeless)
{
    if (GetSafeHwnd() || m_pages.empty())
        return -1;

    std::vector<PROPSHEETPAGEW> pages;
    pages.reserve(m_pages.size());
    for (const CPropertyPage* page : m_pages)
        pages.push_back(page->m_psp);
    // Without the pages' templates the sheet still runs, in the templates' own font.
    if (m_dialogFontSize != 0 && !UsePageTemplatesWithFont(pages))
        m_pageTemplates.clear();

    PROPSHEETHEADERW header = m_psh;
    header.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    if (modeless)
        header.dwFlags |= PSH_MODELESS;
    else
        header.dwFlags &= ~PSH_MODELESS;
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    header.pfnCallback = &CPropertySheet::SheetCallback;

    t_sheetBeingCreated = this;
    const INT_PTR result = PropertySheetW(&header);
    t_sheetBeingCreated = nullptr;
    return result;
}

bool CPropertySheet::UsePageTemplatesWithFont(std::vector<PROPSHEETPAGEW>& pages)
{
    m_pageTemplates.clear();
    for (PROPSHEETPAGEW& page : pages)
    {
        if (page.dwFlags & PSP_DLGINDIRECT)
            return false;
        const HRSRC found = FindResourceW(page.hInstance, page.pszTemplate, RT_DIALOG);
        const HGLOBAL loaded = found ? LoadResource(page.hInstance, found) : nullptr;
        const void* resource = loaded ? LockResource(loaded) : nullptr;
        if (!resource)
            return false;
        const auto* bytes = static_cast<const BYTE*>(resource);
        m_pageTemplates.emplace_back(bytes, bytes + SizeofResource(page.hInstance, found));
    }
    for (size_t index = 0; index < pages.size(); ++index)
    {
        if (WORD* size = DialogFontSize(m_pageTemplates[index].data()))
            *size = m_dialogFontSize;
        pages[index].dwFlags |= PSP_DLGINDIRECT;
        pages[index].pResource = reinterpret_cast<LPCDLGTEMPLATEW>(m_pageTemplates[index].data());
    }
    return true;
}

void CPropertySheet::CompleteInit()
{
    if (!m_initPending)
        return;
    m_initPending = false;
    // A sheet that could not be set up (memory ran out) is closed once the player was told:
    // hidden, it would keep the program running with no window at all.
    if (!CallGuarded(GetSafeHwnd(), false, [this] { return OnInitDialog(), true; }))
    {
        PressButton(PSBTN_CANCEL);
        return;
    }
    ShowWindow(SW_SHOWNORMAL);
    if (m_pGamepad)
        SetTimer(GetSafeHwnd(), kGamepadStartTimer, 0, nullptr);
}

void CPropertySheet::ShowNeighbourPage(bool previous)
{
    const HWND hwnd = GetSafeHwnd();
    const int count = static_cast<int>(m_pages.size());
    const HWND left = PropSheet_GetCurrentPageHwnd(hwnd);
    const int current = PropSheet_HwndToIndex(hwnd, left);
    if (count <= 0 || current < 0)
        return;
    const bool focusOnPage = IsChild(left, GetFocus()) != FALSE;
    // A page that refuses to be left stays, as it does for a click on a tab.
    PropSheet_SetCurSel(hwnd, nullptr, (current + (previous ? count - 1 : 1)) % count);
    const HWND shown = PropSheet_GetCurrentPageHwnd(hwnd);
    if (!focusOnPage || shown == left)
        return;
    // A focus left on the hidden page would take the keys nobody sees.
    if (const HWND first = GetNextDlgTabItem(shown, nullptr, FALSE))
        SendMessageW(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == InitDialogMessage())
    {
        CompleteInit();
        return 0;
    }
    // Wine's modal loop leaves Ctrl+Tab to IsDialogMessage, which answers it, like Tab, with
    // WM_NEXTDLGCTL (lParam 0, wParam non-zero with Shift): it shows the next page here, and
    // Ctrl+Shift+Tab the previous one, as Windows' own sheets do.
    if (message == WM_NEXTDLGCTL && LOWORD(lParam) == 0 && GetKeyState(VK_CONTROL) < 0)
    {
        ShowNeighbourPage(wParam != 0);
        return 0;
    }
    if (message == WM_TIMER && wParam == kGamepadStartTimer)
    {
        KillTimer(GetSafeHwnd(), kGamepadStartTimer);
        StartReadingGamepad();
        return 0;
    }
    if (message == WM_TIMER && wParam == kGamepadTimer)
    {
        ReadGamepad();
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && m_passThroughDepth == 0 &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == ID_APPLY_NOW))
    {
        DepthGuard passThrough(m_passThroughDepth);
        if (LOWORD(wParam) == IDOK)
            OnOK();
        else
            OnApplyNow();
        return 0;
    }

    const HWND hwnd = GetSafeHwnd();
    if (message == WM_NCDESTROY)
    {
        RemoveWindowSubclass(hwnd, &CPropertySheet::SheetWindowProc, 0);
        Detach();
        m_initPending = false;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT message, LPARAM lParam)
{
    if (message == PSCB_PRECREATE && lParam)
    {
        MakeTemplateHidden(reinterpret_cast<void*>(lParam));
        // The sheet's own template sets the font of the tabs and the button row, and the
        // dialog units by which the control sizes the sheet around its pages.
        const WORD fontSize = t_sheetBeingCreated ? t_sheetBeingCreated->m_dialogFontSize : 0;
        WORD* size = fontSize ? DialogFontSize(reinterpret_cast<void*>(lParam)) : nullptr;
        if (size)
            *size = fontSize;
    }
    if (message != PSCB_INITIALIZED || !t_sheetBeingCreated)
        return 0;
    CPropertySheet* sheet = t_sheetBeingCreated;
    t_sheetBeingCreated = nullptr;
    sheet->Attach(hwnd);
    SetWindowSubclass(hwnd, &CPropertySheet::SheetWindowProc, 0,
                      reinterpret_cast<DWORD_PTR>(sheet));
    sheet->m_initPending = true;
    PostMessageW(hwnd, InitDialogMessage(), 0, 0);
    return 0;
}

LRESULT CALLBACK CPropertySheet::SheetWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR sheet)
{
    // A handler that fails has done nothing the control still waits for; the failure is
    // shown and the sheet stays as it is.
    auto* object = reinterpret_cast<CPropertySheet*>(sheet);
    return CallGuarded(hwnd, LRESULT(0),
                       [&] { return object->WindowProc(message, wParam, lParam); });
}
