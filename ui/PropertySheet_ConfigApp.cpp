#include "ui/PropertySheet_ConfigApp.h"

#include "app/GameProcess.h"
#include "strings/StringDatabase.h"
#include "strings/WideTextCopy.h"
#include "ui/ControlCaption.h"
#include "ui/HandheldLayout.h"
#include "ui/resource.h"

#include <utility>

CPropertySheet_ConfigApp::CPropertySheet_ConfigApp(const wchar_t* caption,
                                                   CStringDatabase* database,
                                                   std::function<std::string()> settingsPath,
                                                   const SettingsFileCalls& fileCalls)
    : CPropertySheet(caption, nullptr, 0), m_pageDisplay(database), m_pageOptions(database),
      m_pStringDatabase(database), m_displaySync(m_pageDisplay), m_optionsSync(m_pageOptions),
      m_settingsPath(std::move(settingsPath)), m_fileCalls(fileCalls), m_handheld(RunsOnHandheld())
{
    // With the pages' own settings this keeps the Help button hidden.
    m_psh.dwFlags &= ~PSH_HASHELP;
    // A larger dialog font lays out every control, caption and the sheet itself at 150 %, as
    // a screen of 144 DPI does, where Steam's handheld shows it at 96 DPI. Stretching the
    // finished window instead would blur its text.
    if (m_handheld)
        SetDialogFontSize(HandheldDialogFontSize());
    AddPage(&m_pageDisplay);
    AddPage(&m_pageOptions);
}

BOOL CPropertySheet_ConfigApp::OnInitDialog()
{
    // The base has the Display page's window created; the Options page's window comes with
    // the first selection of its tab.
    const BOOL result = CPropertySheet::OnInitDialog();
    LocalizeSheet();
    CreateGamepadHints();
    if (m_handheld)
        CentreOnMonitor(GetSafeHwnd());
    // A file that cannot be read now is read again at the first save, which is refused while
    // it stays unreadable, and merged then.
    m_fileKnown = CSettingsFile::Load(GetSettingsFilePath().c_str(), m_settings, m_fileState);
    m_displaySync.Load(m_settings);
    m_optionsSync.Load(m_settings);
    return result;
}

void CPropertySheet_ConfigApp::LocalizeSheet()
{
    if (!GetSafeHwnd())
        return;

    if (GetTabControl().GetSafeHwnd())
    {
        const CWideTextCopy displayTab(m_pStringDatabase->Lookup("TabDisplay"));
        const CWideTextCopy optionsTab(m_pStringDatabase->Lookup("TabOptions"));
        const wchar_t* const tabs[] = {displayTab.Text(), optionsTab.Text()};
        for (WPARAM index = 0; index < 2; ++index)
        {
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(tabs[index]);
            GetTabControl().SendMessageW(TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
        }
    }

    CWnd ok = GetDlgItem(IDOK);
    if (ok.GetSafeHwnd())
    {
        SetCaptionFromDatabase(ok, m_pStringDatabase, "ButtonOK");
        RECT rect;
        ok.GetWindowRect(&rect);
        ScreenToClient(&rect);
        // Grows to the left by 40% of the width, the right edge kept, so that longer
        // captions fit. The product is truncated toward zero.
        const int width = rect.right - rect.left;
        const int shift = static_cast<int>(width * -0.4f);
        const int left = rect.left + shift;
        ok.MoveWindow(left, rect.top, rect.right - left, rect.bottom - rect.top, TRUE);
    }
    SetCaptionFromDatabase(GetDlgItem(ID_APPLY_NOW), m_pStringDatabase, "ButtonApply");
    SetCaptionFromDatabase(GetDlgItem(IDCANCEL), m_pStringDatabase, "ButtonCancel");
    // The Help button stays hidden; it is captioned all the same.
    SetCaptionFromDatabase(GetDlgItem(IDHELP), m_pStringDatabase, "ButtonHelp");
}

void CPropertySheet_ConfigApp::CreateGamepadHints()
{
    CWnd ok = GetDlgItem(IDOK);
    CWnd cancel = GetDlgItem(IDCANCEL);
    CWnd tabs = GetTabControl();
    if (!ok.GetSafeHwnd() || !cancel.GetSafeHwnd() || !tabs.GetSafeHwnd())
        return;
    RECT okRect;
    ok.GetWindowRect(&okRect);
    ScreenToClient(&okRect);
    RECT cancelRect;
    cancel.GetWindowRect(&cancelRect);
    ScreenToClient(&cancelRect);
    RECT tabsRect;
    tabs.GetWindowRect(&tabsRect);
    ScreenToClient(&tabsRect);

    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT));
    const HDC dc = GetDC(GetSafeHwnd());
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(GetSafeHwnd(), dc);

    // As far from the OK button as the buttons are from one another.
    const int gap = cancelRect.left - okRect.right;
    const int height = 2 * metrics.tmHeight;
    const int top = (okRect.top + okRect.bottom - height) / 2;
    const HWND hints =
        CreateWindowExW(0, L"Static", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, tabsRect.left, top,
                        okRect.left - gap - tabsRect.left, height, GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATIC_GAMEPAD_HINTS)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hints)
        return;
    ::SendMessageW(hints, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetCaptionFromDatabase(CWnd(hints), m_pStringDatabase, "StaticGamepadHints");
}

void CPropertySheet_ConfigApp::OnGamepadConnected(bool connected)
{
    GetDlgItem(IDC_STATIC_GAMEPAD_HINTS).ShowWindow(connected ? SW_SHOWNA : SW_HIDE);
}

bool CPropertySheet_ConfigApp::ValidateAndApply()
{
    // The control first has the active page validated, which also moves the page's control
    // values into its members, and applies only when the page agrees.
    return GetSafeHwnd() && GetActivePage() && PressButton(PSBTN_APPLYNOW);
}

bool CPropertySheet_ConfigApp::SaveAppliedChanges()
{
    if (SaveSettingsFile())
        return true;
    // The control took the changes as applied when it greyed Apply, but the file does not
    // hold them: Apply stays available to try again.
    m_pageDisplay.SetModified(TRUE);
    m_pageOptions.SetModified(TRUE);
    return false;
}

void CPropertySheet_ConfigApp::OnApplyNow()
{
    // A failure has been shown by the save; the sheet stays open either way.
    if (ValidateAndApply())
        SaveAppliedChanges();
}

void CPropertySheet_ConfigApp::OnOK()
{
    // The game is started only with its settings written, and the sheet closes only once
    // the game runs.
    if (ValidateAndApply() && SaveAppliedChanges() && LaunchGame())
        PressButton(PSBTN_OK);
}

bool CPropertySheet_ConfigApp::LaunchGame()
{
    if (StartGame())
        return true;
    ShowMessageBox("ErrorDialogTitle", "ErrorExecutableLaunchLowResources");
    return false;
}

void CPropertySheet_ConfigApp::ShowMessageBox(const char* captionKey, const char* textKey)
{
    // Each lookup is copied at once: the next one may overwrite the manager's text.
    const CWideTextCopy caption(m_pStringDatabase->Lookup(captionKey));
    const CWideTextCopy text(m_pStringDatabase->Lookup(textKey));
    MessageBoxW(text.Text(), caption.Text(), MB_OK);
}
