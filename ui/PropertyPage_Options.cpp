#include "ui/PropertyPage_Options.h"

#include "framework/DataExchange.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "strings/StringDatabase.h"
#include "strings/WideTextCopy.h"
#include "ui/resource.h"

CPropertyPage_Options::CPropertyPage_Options(CStringDatabase* database)
    : CPropertyPage(IDD_OPTIONS), m_pStringDatabase(database)
{
    // With the sheet's own setting this keeps the Help button hidden.
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CPropertyPage_Options::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CHECK_DISABLE_HARDWARE_SOUND, m_checkDisableHardwareSound);
    DDX_Control(pDX, IDC_CHECK_DISABLE_JOYSTICKS, m_checkDisableJoysticks);
    DDX_Control(pDX, IDC_CHECK_DISABLE_MOVIES, m_checkDisableMovies);
    DDX_Control(pDX, IDC_CHECK_DISABLE_MUSIC, m_checkDisableMusic);
    DDX_Control(pDX, IDC_CHECK_DISABLE_SOUND, m_checkDisableSound);
    DDX_Control(pDX, IDC_CHECK_DISABLE_SOUND_FILTERS, m_checkDisableSoundFilters);
    DDX_Control(pDX, IDC_CHECK_RESTORE_DEFAULTS, m_checkRestoreDefaults);
    DDX_Control(pDX, IDC_EDIT_COMMAND_LINE, m_editCommandLine);
    DDX_Control(pDX, IDC_STATIC_ADVANCED_COMMAND_LINE, m_staticAdvancedCommandLine);
    DDX_Control(pDX, IDC_STATIC_COMMAND_LINE_FLAGS, m_staticCommandLineFlags);
    DDX_Check(pDX, IDC_CHECK_DISABLE_HARDWARE_SOUND, m_bDisableHardwareSound);
    DDX_Check(pDX, IDC_CHECK_DISABLE_JOYSTICKS, m_bDisableJoysticks);
    DDX_Check(pDX, IDC_CHECK_DISABLE_MOVIES, m_bDisableMovies);
    DDX_Check(pDX, IDC_CHECK_DISABLE_MUSIC, m_bDisableMusic);
    DDX_Check(pDX, IDC_CHECK_DISABLE_SOUND, m_bDisableSound);
    DDX_Check(pDX, IDC_CHECK_DISABLE_SOUND_FILTERS, m_bDisableSoundFilters);
    DDX_Check(pDX, IDC_CHECK_RESTORE_DEFAULTS, m_bRestoreDefaults);
    DDX_Text(pDX, IDC_EDIT_COMMAND_LINE, m_strCommandLine);
}

BOOL CPropertyPage_Options::OnInitDialog()
{
    // The base loads the flags into the check boxes.
    CPropertyPage::OnInitDialog();
    LocalizeControls();
    return FALSE;
}

void CPropertyPage_Options::LocalizeControls()
{
    if (!GetSafeHwnd())
        return;
    const struct
    {
        CWnd& control;
        const char* key;
    } captions[] = {
        {m_staticCommandLineFlags, "StaticCommandLineFlags"},
        {m_staticAdvancedCommandLine, "StaticAdvancedCommandLine"},
        {m_checkDisableSound, "CheckDisableSound"},
        {m_checkDisableMusic, "CheckDisableMusic"},
        {m_checkDisableJoysticks, "CheckDisableJoysticks"},
        {m_checkDisableMovies, "CheckDisableMovies"},
        {m_checkDisableSoundFilters, "CheckDisableSoundFilters"},
        {m_checkDisableHardwareSound, "CheckDisableHardwareSound"},
        {m_checkRestoreDefaults, "CheckRestoreDefaults"},
    };
    for (const auto& caption : captions)
    {
        if (!IsWindow(caption.control.GetSafeHwnd()))
            continue;
        const CWideTextCopy text(m_pStringDatabase->Lookup(caption.key));
        caption.control.SetWindowTextW(text.Text());
    }
}

void CPropertyPage_Options::ApplyStoredSettings(CSettingsFile& settings)
{
    m_bRestoreDefaults = settings.TakeBool("RestoreDefaults", false);
    m_bDisableSound = settings.TakeBool("DisableSound", false);
    // Music is stored the other way round from its check box.
    m_bDisableMusic = !settings.TakeBool("MusicEnable", true);
    m_bDisableJoysticks = settings.TakeBool("DisableJoystick", false);
    m_bDisableMovies = settings.TakeBool("DisableMovies", false);
    m_bDisableSoundFilters = settings.TakeBool("DisableSoundFilters", false);
    m_bDisableHardwareSound = settings.TakeBool("DisableHardwareSound", false);
}

std::string CPropertyPage_Options::GetSettingsText() const
{
    // Only set switches are written; a clear one adds no line.
    const struct
    {
        int flag;
        const char* key;
        const char* value;
    } lines[] = {
        {m_bRestoreDefaults, "RestoreDefaults", "1"},
        {m_bDisableSound, "DisableSound", "1"},
        {m_bDisableMusic, "MusicEnable", "0"},
        {m_bDisableJoysticks, "DisableJoystick", "1"},
        {m_bDisableMovies, "DisableMovies", "1"},
        {m_bDisableSoundFilters, "DisableSoundFilters", "1"},
        {m_bDisableHardwareSound, "DisableHardwareSound", "1"},
    };
    std::string text;
    for (const auto& line : lines)
    {
        if (line.flag != 0)
            AppendSettingsLine(text, line.key, line.value);
    }
    return text;
}

BOOL CPropertyPage_Options::OnCommand(WORD id, WORD code)
{
    switch (id)
    {
    case IDC_CHECK_DISABLE_SOUND:
    case IDC_CHECK_DISABLE_JOYSTICKS:
    case IDC_CHECK_DISABLE_MUSIC:
    case IDC_CHECK_DISABLE_MOVIES:
    case IDC_CHECK_DISABLE_SOUND_FILTERS:
    case IDC_CHECK_DISABLE_HARDWARE_SOUND:
    case IDC_CHECK_RESTORE_DEFAULTS:
        if (code != BN_CLICKED)
            break;
        OnOptionChanged();
        return TRUE;
    case IDC_EDIT_COMMAND_LINE:
        if (code != EN_CHANGE)
            break;
        OnOptionChanged();
        return TRUE;
    default:
        break;
    }
    return CPropertyPage::OnCommand(id, code);
}

void CPropertyPage_Options::OnOptionChanged()
{
    SetModified(TRUE);
}
