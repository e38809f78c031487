#pragma once

#include "framework/PropertySheet.h"
#include "settings/SettingsFile.h"
#include "settings/save/SettingsFileSave.h"
#include "ui/OwnedSettingsSync.h"
#include "ui/PropertyPage_Display.h"
#include "ui/PropertyPage_Options.h"

#include <functional>
#include <string>

class CStringDatabase;

// The launcher's window: a property sheet with the Display and Options pages. When it opens
// it localizes its tabs and buttons, loads settings.cfg and lets each page take its keys. Apply
// writes settings.cfg again; OK writes it and starts the game. Cancel and the close box leave the
// file alone. While a game controller is connected, a line beside the button row tells what its
// buttons do. On a handheld (RunsOnHandheld) the sheet is laid out at 150 % and centred.
class CPropertySheet_ConfigApp : public CPropertySheet
{
public:
    // The caption is copied. `database` is not owned and must outlive the sheet.
    // `settingsPath` gives the settings.cfg the sheet loads and saves, asked again at each use:
    // the launcher's follows the installed edition in the shared settings folder, a test's
    // lies in a folder of its own. `fileCalls` put a save on the disk: the system's own, or a
    // test's that fail the way a failing disk does.
    CPropertySheet_ConfigApp(const wchar_t* caption, CStringDatabase* database,
                             std::function<std::string()> settingsPath,
                             const SettingsFileCalls& fileCalls = SettingsFileCalls());

    BOOL OnInitDialog() override;
    // Sets the captions of the tabs and the buttons, and widens the OK button to the left
    // by 40% of its width.
    void LocalizeSheet();

    // The path settings.cfg is loaded from and saved to.
    std::string GetSettingsFilePath() const { return m_settingsPath(); }
    // The new content of settings.cfg: the Options page's lines, the Display page's lines,
    // then every pair left in the store.
    std::string ComposeSettingsText() const;
    // Writes settings.cfg; on failure shows an error box and returns false. A settings.cfg
    // that exists but cannot be read now is never written. When another program changed the
    // file after the sheet read or wrote it, or it could not be read when the sheet opened,
    // every pair that no page owns comes from the file as it is now, and the pages' keys are
    // merged (COwnedSettingsSync): what the player changed is saved, what the other program
    // changed and the player did not is kept, and the pages show what was saved.
    bool SaveSettingsFile();
    // Starts the game; on failure shows an error box and returns false.
    bool LaunchGame();

protected:
    void OnOK() override;
    void OnApplyNow() override;
    // Shows the controller hints while a controller is connected.
    void OnGamepadConnected(bool connected) override;

private:
    // Creates the hidden line of controller hints, from the left edge of the tabs to the OK
    // button, two lines high, centred on the button row.
    void CreateGamepadHints();
    // Validates the active page and lets the property sheet control apply. False when there
    // is no window or page, or the page refused.
    bool ValidateAndApply();
    // SaveSettingsFile; when it fails the pages count as changed again.
    bool SaveAppliedChanges();
    // Before a save, with `current` as `save` read it: when another program changed the file,
    // or it could not be read before, the pages merge their keys and the store takes the
    // file's other pairs as they are now. True when it did so, and the file's state is then to
    // be taken from `save`.
    bool FollowChangesOnDisk(const CSettingsFileSave& save, CSettingsFile& current);
    // After a save: the file as written is what the next save compares with.
    void RememberWrittenFile(const std::string& path, const std::string& text);
    // After a rewrite that left the file damaged: the damaged file is what the next save
    // compares with, so that it writes the store's pairs rather than take the damaged ones.
    void RememberDamagedFile(const std::string& path);
    // A box with an OK button and no icon, owned by the sheet, with the texts of both keys.
    void ShowMessageBox(const char* captionKey, const char* textKey);
    // The box for a save that failed with `result`; `fileExisted` tells whether there were
    // previous settings to keep.
    void ShowSaveFailure(SettingsWriteResult result, bool fileExisted);

    CPropertyPage_Display m_pageDisplay;
    CPropertyPage_Options m_pageOptions;
    CStringDatabase* m_pStringDatabase;
    CSettingsFile m_settings;
    // settings.cfg as the sheet last read or wrote it.
    SettingsFileState m_fileState;
    // False while settings.cfg could not be read since the sheet opened.
    bool m_fileKnown = false;
    COwnedSettingsSync m_displaySync;
    COwnedSettingsSync m_optionsSync;
    const std::function<std::string()> m_settingsPath;
    const SettingsFileCalls m_fileCalls;
    const bool m_handheld;
};
