#pragma once

#include "framework/PropertySheet.h"
#include "settings/SettingsFile.h"
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
    // lies in a folder of its own.
    CPropertySheet_ConfigApp(const wchar_t* caption, CStringDatabase* database,
                             std::function<std::string()> settingsPath);

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
    // file after the sheet read or wrote it, or it could not be read when the sheet opened, the
    // pages' lines still show the player's choices, and every other pair comes from the file
    // as it is now.
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
    // Reads settings.cfg at `path` again before a save. When another program changed it, the
    // store takes the file's pairs as they are now, less the pages' keys. False when the file
    // cannot be read.
    bool FollowChangesOnDisk(const std::string& path);
    // After a save: the file as written is what the next save compares with.
    void RememberWrittenFile(const std::string& path, const std::string& text);
    // After a rewrite that left the file damaged: the damaged file is what the next save
    // compares with, so that it writes the store's pairs rather than take the damaged ones.
    void RememberDamagedFile(const std::string& path);
    // A box with an OK button and no icon, owned by the sheet, with the texts of both keys.
    void ShowMessageBox(const char* captionKey, const char* textKey);

    CPropertyPage_Display m_pageDisplay;
    CPropertyPage_Options m_pageOptions;
    CStringDatabase* m_pStringDatabase;
    CSettingsFile m_settings;
    // settings.cfg as the sheet last read or wrote it.
    SettingsFileState m_fileState;
    const std::function<std::string()> m_settingsPath;
    const bool m_handheld;
};
