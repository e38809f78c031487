#pragma once

#include "settings/SettingsFileCalls.h"

#include <windows.h>

#include <string>

class CBriefHoldRetry;
class CHeldSettingsFolder;

// The new content of the settings file, in a file of its own in the held settings folder until
// it takes the settings file's place. Its name is new and random, as long as "settings.cfg"
// (so it fits wherever the settings file fits), and it is made only if nothing has that name
// yet: a link planted under a name that someone guessed is never written through. Everything
// after the creation goes through the handle: the writing, the access rights, the move into
// place and the removal. Before Vista, which cannot move or remove a file through its handle,
// both go by the name, in the held folder. Unless it was moved into place, the file is removed
// when this object goes.
class CTemporarySettingsFile
{
public:
    CTemporarySettingsFile(const CHeldSettingsFolder& folder, const SettingsFileCalls& calls);
    ~CTemporarySettingsFile();
    CTemporarySettingsFile(const CTemporarySettingsFile&) = delete;
    CTemporarySettingsFile& operator=(const CTemporarySettingsFile&) = delete;

    // Makes the file with `attributes` and the access rights in `security` (a self-relative
    // security descriptor with a DACL, or null for the folder's defaults). False when no new
    // file could be made.
    bool Create(DWORD attributes, const void* security);
    // Writes all of `bytes` and puts them on the disk itself; false when any step failed.
    bool Write(const std::string& bytes);
    // Puts the file in the place of the held folder's settings file, replacing it. A program
    // that holds the settings file for a moment is waited for through `retry`, under `path`.
    bool MoveIntoPlace(CBriefHoldRetry& retry, const std::string& path);

private:
    void Remove();

    const CHeldSettingsFolder& m_folder;
    const SettingsFileCalls& m_calls;
    std::wstring m_name;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_moved = false;
};
