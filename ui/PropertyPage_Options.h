#pragma once

#include "framework/Button.h"
#include "framework/Edit.h"
#include "framework/PropertyPage.h"
#include "framework/Static.h"
#include "ui/OwnedSettings.h"

#include <string>
#include <vector>

class CDataExchange;
class CSettingsFile;
class CStringDatabase;

// The Options page: check boxes that switch game features off or ask the game to restore its
// defaults, one for each row of the page's option table. The flags are the page's model; the
// check boxes show them while the page has a window, and the settings lines are made from the
// flags alone, so they are right whether or not the page was ever shown. Each switch is a group
// of its own when a save merges the file's changes (IOwnedSettings).
class CPropertyPage_Options : public CPropertyPage, public IOwnedSettings
{
public:
    // `database` is not owned and must outlive the page.
    explicit CPropertyPage_Options(CStringDatabase* database);

    // Sets the flags from the stored switches and takes their pairs out of `settings`.
    void ApplyStoredSettings(CSettingsFile& settings);
    // One `"key" "value"` line for each set flag, in a fixed order; "" when none is set. A
    // clear switch whose key the store held elsewhere than as a key when the page took it
    // writes its line all the same, so that the game, which takes the first token equal to a
    // key, finds this line first.
    std::string GetSettingsText() const;

    size_t GroupCount() const override;
    std::string TakeStoredGroup(CSettingsFile& settings, size_t group) override;
    // Sets the switch's flag, and its check box while the page has a window.
    void ApplyStoredGroup(size_t group, const std::string& stored) override;
    std::string GroupText(size_t group) const override;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    // One switch: its check box, its flag and its stored key.
    struct OptionRow;
    static const OptionRow kOptionRows[];

    // Sets the captions of the group boxes and check boxes from the string database.
    void LocalizeControls();
    // Any click on a check box or edit of the command line enables the sheet's Apply.
    void OnOptionChanged();

    CStringDatabase* m_pStringDatabase;
    CButton m_checkDisableHardwareSound;
    CButton m_checkDisableJoysticks;
    CButton m_checkDisableMovies;
    CButton m_checkDisableMusic;
    CButton m_checkDisableSound;
    CButton m_checkDisableSoundFilters;
    CButton m_checkRestoreDefaults;
    CEdit m_editCommandLine;
    CStatic m_staticAdvancedCommandLine;
    CStatic m_staticCommandLineFlags;
    // The switches: 0 (clear) or 1 (set).
    int m_bDisableHardwareSound = 0;
    int m_bDisableJoysticks = 0;
    int m_bDisableMovies = 0;
    int m_bDisableMusic = 0;
    int m_bDisableSound = 0;
    int m_bDisableSoundFilters = 0;
    int m_bRestoreDefaults = 0;
    // For each switch: the store held its key elsewhere than as a key (a value, say).
    std::vector<bool> m_keyHeldElsewhere;
    // The text of the hidden command line edit. Nothing reads it: it reaches neither the
    // settings file nor the game.
    std::wstring m_strCommandLine;
};
