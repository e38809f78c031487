#include "ui/PropertyPage_Options.h"

#include "framework/DataExchange.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "ui/ControlCaption.h"
#include "ui/OwnedSettingsSync.h"
#include "ui/resource.h"

#include <algorithm>
#include <iterator>

struct CPropertyPage_Options::OptionRow
{
    int controlId;
    CButton CPropertyPage_Options::*box;
    int CPropertyPage_Options::*flag;
    const char* key;
    const char* captionKey;
    // The stored value says the opposite of the check box: a set box is stored as "0" and an
    // absent key counts as "1".
    bool inverted;
};

namespace
{
using Page = CPropertyPage_Options;
} // namespace

// In the order the stored keys are taken and the lines are written. A set box writes its key
// with "1" ("0" when inverted); a clear box writes nothing.
const Page::OptionRow Page::kOptionRows[] = {
    {IDC_CHECK_RESTORE_DEFAULTS, &Page::m_checkRestoreDefaults, &Page::m_bRestoreDefaults,
     "RestoreDefaults", "CheckRestoreDefaults", false},
    {IDC_CHECK_DISABLE_SOUND, &Page::m_checkDisableSound, &Page::m_bDisableSound, "DisableSound",
     "CheckDisableSound", false},
    {IDC_CHECK_DISABLE_MUSIC, &Page::m_checkDisableMusic, &Page::m_bDisableMusic, "MusicEnable",
     "CheckDisableMusic", true},
    {IDC_CHECK_DISABLE_JOYSTICKS, &Page::m_checkDisableJoysticks, &Page::m_bDisableJoysticks,
     "DisableJoystick", "CheckDisableJoysticks", false},
    {IDC_CHECK_DISABLE_MOVIES, &Page::m_checkDisableMovies, &Page::m_bDisableMovies,
     "DisableMovies", "CheckDisableMovies", false},
    {IDC_CHECK_DISABLE_SOUND_FILTERS, &Page::m_checkDisableSoundFilters,
     &Page::m_bDisableSoundFilters, "DisableSoundFilters", "CheckDisableSoundFilters", false},
    {IDC_CHECK_DISABLE_HARDWARE_SOUND, &Page::m_checkDisableHardwareSound,
     &Page::m_bDisableHardwareSound, "DisableHardwareSound", "CheckDisableHardwareSound", false},
};

CPropertyPage_Options::CPropertyPage_Options(CStringDatabase* database)
    : CPropertyPage(IDD_OPTIONS), m_pStringDatabase(database),
      m_keyHeldElsewhere(std::size(kOptionRows), false)
{
    // With the sheet's own setting this keeps the Help button hidden.
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CPropertyPage_Options::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (const OptionRow& option : kOptionRows)
        DDX_Control(pDX, option.controlId, this->*option.box);
    DDX_Control(pDX, IDC_EDIT_COMMAND_LINE, m_editCommandLine);
    DDX_Control(pDX, IDC_STATIC_ADVANCED_COMMAND_LINE, m_staticAdvancedCommandLine);
    DDX_Control(pDX, IDC_STATIC_COMMAND_LINE_FLAGS, m_staticCommandLineFlags);
    for (const OptionRow& option : kOptionRows)
        DDX_Check(pDX, option.controlId, this->*option.flag);
    DDX_Text(pDX, IDC_EDIT_COMMAND_LINE, m_strCommandLine);
}

BOOL CPropertyPage_Options::OnInitDialog()
{
    // The base binds the controls and loads the flags into the check boxes.
    CPropertyPage::OnInitDialog();
    LocalizeControls();
    return FALSE;
}

void CPropertyPage_Options::LocalizeControls()
{
    if (!GetSafeHwnd())
        return;
    SetCaptionFromDatabase(m_staticCommandLineFlags, m_pStringDatabase, "StaticCommandLineFlags");
    SetCaptionFromDatabase(m_staticAdvancedCommandLine, m_pStringDatabase,
                           "StaticAdvancedCommandLine");
    for (const OptionRow& option : kOptionRows)
        SetCaptionFromDatabase(this->*option.box, m_pStringDatabase, option.captionKey);
}

void CPropertyPage_Options::ApplyStoredSettings(CSettingsFile& settings)
{
    ::ApplyStoredSettings(*this, settings);
}

std::string CPropertyPage_Options::GetSettingsText() const
{
    std::string text;
    for (size_t group = 0; group < GroupCount(); ++group)
    {
        const OptionRow& option = kOptionRows[group];
        if (this->*option.flag == 0 && m_keyHeldElsewhere[group])
            AppendSettingsLine(text, option.key, option.inverted ? "1" : "0");
        else
            text += GroupText(group);
    }
    return text;
}

size_t CPropertyPage_Options::GroupCount() const
{
    return std::size(kOptionRows);
}

std::string CPropertyPage_Options::TakeStoredGroup(CSettingsFile& settings, size_t group)
{
    std::string stored;
    settings.TakeLine(kOptionRows[group].key, stored);
    m_keyHeldElsewhere[group] = settings.Holds(kOptionRows[group].key);
    return stored;
}

void CPropertyPage_Options::ApplyStoredGroup(size_t group, const std::string& stored)
{
    const OptionRow& option = kOptionRows[group];
    CSettingsFile settings;
    CSettingsFile::FromBytes(stored.data(), stored.size(), settings);
    this->*option.flag = settings.TakeBool(option.key, option.inverted) != option.inverted;
    if (GetSafeHwnd())
        CheckDlgButton(GetSafeHwnd(), option.controlId, this->*option.flag);
}

std::string CPropertyPage_Options::GroupText(size_t group) const
{
    const OptionRow& option = kOptionRows[group];
    std::string text;
    if (this->*option.flag != 0)
        AppendSettingsLine(text, option.key, option.inverted ? "0" : "1");
    return text;
}

BOOL CPropertyPage_Options::OnCommand(WORD id, WORD code)
{
    const bool isBox =
        std::any_of(std::begin(kOptionRows), std::end(kOptionRows),
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
