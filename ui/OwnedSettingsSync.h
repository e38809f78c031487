#pragma once

#include "ui/OwnedSettings.h"

#include <string>
#include <vector>

class CSettingsFile;

// What the sheet knows of one page's keys since it last read or wrote settings.cfg: for each
// group, the stored text the file held then and the page text the page showed then. A save
// merges three ways, group by group, with the file as it is now:
//   - the file holds what it held then: the page's choice is saved;
//   - the file changed the group since, and the page still shows
//     what it showed then: the file's choice is kept, and the page shows it;
//   - both changed: the player's choice wins.
// "Changed" compares choices, not clicks: a switch ticked and unticked again is unchanged.
class COwnedSettingsSync
{
public:
    explicit COwnedSettingsSync(IOwnedSettings& page);

    // The page takes its groups out of `settings`, the file as the sheet opened it (empty when
    // it could not be read), and shows them.
    void Load(CSettingsFile& settings);
    // The page takes its groups out of `settings`, the file as it is now, and merges them. A
    // file that could not be read when the sheet opened left every group's stored text empty,
    // so each key it holds now counts as changed by the file.
    void Merge(CSettingsFile& settings);
    // The file now holds the page's lines.
    void Saved();

private:
    IOwnedSettings& m_page;
    std::vector<std::string> m_stored;
    std::vector<std::string> m_shown;
};

// Takes every group of `page` out of `settings` and chooses what it held, as the sheet does
// when it opens, without keeping a record of it.
void ApplyStoredSettings(IOwnedSettings& page, CSettingsFile& settings);
