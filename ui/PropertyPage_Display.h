#pragma once

#include "display/DisplayCatalogue.h"
#include "framework/ListBox.h"
#include "framework/PropertyPage.h"
#include "framework/Static.h"
#include "ui/OwnedSettings.h"

#include <string>

class CDataExchange;
class CSettingsFile;
class CStringDatabase;

// The Display page: the renderer, display and resolution lists, filled from the display
// catalogue and kept in step with it as the player selects lines. Its five keys are one group
// when a save merges the file's changes (IOwnedSettings): a display, a renderer and a size go
// together.
class CPropertyPage_Display : public CPropertyPage, public IOwnedSettings
{
public:
    // `database` is not owned and must outlive the page. The catalogue enumerates with the
    // system's Direct3D 9.
    explicit CPropertyPage_Display(CStringDatabase* database);
    // The same with the catalogue enumerating through `createDirect3D`, so that tests can
    // stand in for machines with several adapters.
    CPropertyPage_Display(CStringDatabase* database, Direct3DFactory createDirect3D);

    // Takes the stored display keys out of `settings` and chooses the stored display and
    // resolution where the catalogue has them; refills the lists when the page has a window.
    // Without a display to choose it takes nothing.
    void ApplyStoredSettings(CSettingsFile& settings);
    // The page's lines of settings.cfg in the ANSI code page; "" when no display is chosen.
    // While no resolution is chosen, the stored resolution lines are written as they were.
    std::string GetSettingsText() const;

    // One group while there is a display to choose, none without.
    size_t GroupCount() const override;
    std::string TakeStoredGroup(CSettingsFile& settings, size_t group) override;
    void ApplyStoredGroup(size_t group, const std::string& stored) override;
    std::string GroupText(size_t group) const override;

    DisplayCatalogue& GetCatalogue() { return m_catalogue; }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    // Builds the catalogue from the working folder and fills the lists.
    void InitLists();
    // Fills the three lists from the catalogue's choices, when all three have windows.
    void FillLists();
    // Sets the captions of the group boxes, the lists' labels and the warning from the string
    // database.
    void LocalizeStatics();
    // Takes the lists' selections into the catalogue and enables the sheet's Apply.
    void OnSelChangeList();
    // The display keys as stored in settings.cfg.
    struct StoredChoice
    {
        std::string deviceName;
        std::string rendererName;
        int width = 0;
        int height = 0;
        int bitDepth = 0;
    };
    // Takes the display keys out of `settings` into `stored` and keeps the stored resolution
    // lines.
    void TakeStoredChoice(CSettingsFile& settings, StoredChoice& stored);
    // Takes a resolution key out of `settings` and keeps its line; atoi of the value, 0 when
    // the key is absent or has no value.
    int TakeStoredResolutionValue(CSettingsFile& settings, const char* key);

    DisplayCatalogue m_catalogue;
    CStringDatabase* m_pStringDatabase;
    CListBox m_listDisplays;
    CListBox m_listRenderers;
    CListBox m_listResolutions;
    CStatic m_staticDisplays;
    CStatic m_staticRenderers;
    CStatic m_staticResolutions;
    CStatic m_staticWarning;
    // The stored "ScreenWidth", "ScreenHeight" and "BitDepth" lines, as settings text.
    std::string m_storedResolutionLines;
};
