#include "tests/framework/TestSheet.h"

#include "framework/DataExchange.h"
#include "ui/resource.h"

#include <new>

ListsPage::ListsPage(EventLog& log) : CPropertyPage(IDD_DISPLAY), m_log(log) {}

BOOL ListsPage::OnInitDialog()
{
    m_log.push_back("init lists");
    return CPropertyPage::OnInitDialog();
}

BOOL ListsPage::OnApply()
{
    if (m_throwOnApply)
        throw std::bad_alloc();
    m_log.push_back("apply lists");
    return CPropertyPage::OnApply();
}

void ListsPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_LIST_RESOLUTIONS, m_listResolutions);
    if (m_exchangeMissingControl)
    {
        const int noSuchControl = 4242;
        int unused = 0;
        DDX_Check(pDX, noSuchControl, unused);
    }
}

BOOL ListsPage::OnCommand(WORD id, WORD code)
{
    if (code != LBN_SELCHANGE ||
        (id != IDC_LIST_DISPLAYS && id != IDC_LIST_RENDERERS && id != IDC_LIST_RESOLUTIONS))
        return CPropertyPage::OnCommand(id, code);
    m_selChanges.push_back(id);
    SetModified(TRUE);
    return TRUE;
}

SwitchesPage::SwitchesPage(EventLog& log) : CPropertyPage(IDD_OPTIONS), m_log(log) {}

BOOL SwitchesPage::OnInitDialog()
{
    m_log.push_back("init switches");
    return CPropertyPage::OnInitDialog();
}

BOOL SwitchesPage::OnApply()
{
    m_log.push_back("apply switches");
    return CPropertyPage::OnApply();
}

void SwitchesPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CHECK_DISABLE_SOUND, m_checkSound);
    DDX_Control(pDX, IDC_EDIT_COMMAND_LINE, m_editCommandLine);
    DDX_Check(pDX, IDC_CHECK_DISABLE_SOUND, m_sound);
    DDX_Check(pDX, IDC_CHECK_DISABLE_MUSIC, m_music);
    DDX_Text(pDX, IDC_EDIT_COMMAND_LINE, m_commandLine);
}

BOOL SwitchesPage::OnCommand(WORD id, WORD code)
{
    const bool clicked =
        code == BN_CLICKED && (id == IDC_CHECK_DISABLE_SOUND || id == IDC_CHECK_DISABLE_MUSIC);
    const bool edited = code == EN_CHANGE && id == IDC_EDIT_COMMAND_LINE;
    if (!clicked && !edited)
        return CPropertyPage::OnCommand(id, code);
    ++m_changes;
    SetModified(TRUE);
    return TRUE;
}

TestSheet::TestSheet() : CPropertySheet(L"Test sheet"), m_lists(m_log), m_switches(m_log)
{
    AddPage(&m_lists);
    AddPage(&m_switches);
}

BOOL TestSheet::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    m_log.push_back(GetActivePage() == &m_lists ? "init sheet on lists" : "init sheet");
    if (m_afterInit)
        m_afterInit(*this);
    return result;
}

void HandlerSheet::OnOK()
{
    ++m_okCalls;
    if (ValidateAndApply())
        Press(PSBTN_OK, IDOK);
}

void HandlerSheet::OnApplyNow()
{
    ++m_applyNowCalls;
    ValidateAndApply();
}

bool HandlerSheet::ValidateAndApply()
{
    CPropertyPage* page = GetActivePage();
    if (!page || !page->OnKillActive())
        return false;
    Press(PSBTN_APPLYNOW, ID_APPLY_NOW);
    return true;
}

void HandlerSheet::Press(int button, WORD buttonId)
{
    if (!m_pressByCommand)
        PressButton(button);
    else
        SendMessageW(WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(buttonId).GetSafeHwnd()));
}
