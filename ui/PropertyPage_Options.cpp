#include "ui/PropertyPage_Options.h"

#include "framework/DataExchange.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "ui/ControlCaption.h"
#include "ui/resource.h"

#include <algorithm>
#include <iterator>

namespace
{
struct OptionRow
{
    int controlId;
    const char* key;
    const char* captionKey;
    // The stored value says the opposite of the check box: a set box is stored as "0" and an
    // absent key counts as "1".
    bool inverted;
};

// In the order the stored keys are taken and the lines are written. A set box writes its key
// with "1" ("0" when inverted); a clear box writes nothing.
const OptionRow kOptions[] = {
    {IDC_CHECK_RESTORE_DEFAULTS, "RestoreDefaults", "CheckRestoreDefaults", false},
    {IDC_CHECK_DISABLE_SOUND, "DisableSound", "CheckDisableSound", false},
    {IDC_CHECK_DISABLE_MUSIC, "MusicEnable", "CheckDisableMusic", true},
    {IDC_CHECK_DISABLE_JOYSTICKS, "DisableJoystick", "CheckDisableJoysticks", false},
    {IDC_CHECK_DISABLE_MOVIES, "DisableMovies", "CheckDisableMovies", false},
    {IDC_CHECK_DISABLE_SOUND_FILTERS, "DisableSoundFilters", "CheckDisableSoundFilters", false},
    {IDC_CHECK_DISABLE_HARDWARE_SOUND, "DisableHardwareSound", "CheckDisableHardwareSound", false},
};
} // namespace

CPropertyPage_Options::CPropertyPage_Options(CStringDatabase* database)
    : CPropertyPage(IDD_OPTIONS), m_pStringDatabase(database), m_flags(std::size(kOptions), 0)
{
    // With the sheet's own setting this keeps the Help button hidden.
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CPropertyPage_Options::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (size_t row = 0; row < m_flags.size(); ++row)
        DDX_Check(pDX, kOptions[row].controlId, m_flags[row]);
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
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_COMMAND_LINE_FLAGS), m_pStringDatabase,
                           "StaticCommandLineFlags");
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_ADVANCED_COMMAND_LINE), m_pStringDatabase,
                           "StaticAdvancedCommandLine");
    for (const OptionRow& option : kOptions)
        SetCaptionFromDatabase(GetDlgItem(option.controlId), m_pStringDatabase, option.captionKey);
}

void CPropertyPage_Options::ApplyStoredSettings(CSettingsFile& settings)
{
    for (size_t row = 0; row < m_flags.size(); ++row)
    {
        const OptionRow& option = kOptions[row];
        m_flags[row] = settings.TakeBool(option.key, option.inverted) != option.inverted;
    }
}

std::string CPropertyPage_Options::GetSettingsText() const
{
    std::string text;
    for (size_t row = 0; row < m_flags.size(); ++row)
    {
        if (m_flags[row] != 0)
            AppendSettingsLine(text, kOptions[row].key, kOptions[row].inverted ? "0" : "1");
    }
    return text;
}

BOOL CPropertyPage_Options::OnCommand(WORD id, WORD code)
{
    const bool isBox =
        std::any_of(std::begin(kOptions), std::end(kOptions),
                    [id](const OptionRow& option) { return option.controlId == id; });
    const bool changed =
        (isBox && code == BN_CLICKED) || (id == IDC_EDIT_COMMAND_LINE && code == EN_CHANGE);
    if (!changed)
        return CPropertyPage::OnCommand(id, code);
    OnOptionChanged();
    return TRUE;
}

void CPropertyPage_Options::OnOptionChanged()
{
    SetModified(TRUE);
}
