#pragma once

#include "settings/save/SettingsFileCalls.h"

#include <windows.h>

#include <string>

class CBriefHoldRetry;
class CHeldSettingsFolder;

// The new content of the settings file, in a file of its own in the held settings folder until
// it takes the settings file's place. Its name is new and random, as long as "settings.cfg"
// (so it fits wherever the settings file fits), and it is made, through the folder's handle,
// only if nothing has that name yet: a link planted under a name that someone guessed is never
// written through. Everything after the creation goes through the handle: the writing, the
// access rights, the move into place and the removal. Where ntdll lacks the call that moves
// and removes a file through its handle, both go by the name, in the held folder. Unless it was
// moved into place, the file is removed when this object goes.
class CTemporarySettingsFile
{
public:
    enum class Creation
    {
        Created,
        // The folder takes no new file from this user; the settings file may still be
        // writable in place.
        NoRightToCreate,
        Failed,
    };

    CTemporarySettingsFile(const CHeldSettingsFolder& folder, const SettingsFileCalls& calls);
    ~CTemporarySettingsFile();
    CTemporarySettingsFile(const CTemporarySettingsFile&) = delete;
    CTemporarySettingsFile& operator=(const CTemporarySettingsFile&) = delete;

    // Makes the file with `attributes` and the access rights in `security` (a self-relative
    // security descriptor with a DACL, or null for the folder's defaults).
    Creation Create(DWORD attributes, const void* security);
    // Writes all of `bytes` and puts them on the disk itself; false when any step failed.
    bool Write(const std::string& bytes);
    // Puts the file in the place of the held folder's settings file, replacing it at once even
    // while other programs hold it open, where Windows can (POSIX semantics, Windows 10 1709
    // on); false where it cannot or refuses. Wine answers STATUS_NOT_IMPLEMENTED: it has no
    // such rename.
    bool ReplaceHeldFile();
    // Puts the file in the place of the held folder's settings file, which nobody may hold
    // open then. With `replace`, an existing settings file is replaced, and a program that
    // holds it for a moment is waited for through `retry`, under `path`; without, the move
    // fails when a settings file exists (ERROR_ALREADY_EXISTS or ERROR_FILE_EXISTS).
    bool MoveIntoPlace(bool replace, CBriefHoldRetry& retry, const std::string& path);

private:
    // Renames the file through its handle to the settings file's name in the held folder.
    bool Rename(ULONG infoClass, ULONG flags);

    const CHeldSettingsFolder& m_folder;
    const SettingsFileCalls& m_calls;
    std::wstring m_name;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_moved = false;
};
