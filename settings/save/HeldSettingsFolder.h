#pragma once

#include "settings/save/FolderRelativeOpen.h"
#include "settings/save/SettingsFileCalls.h"

#include <windows.h>

#include <string>

// The settings folder lies in the machine's shared documents folder, which every user of the
// machine may write. Another user could plant a link there (a symbolic link, a junction, a
// mount point, a hard link) so that a save by a more privileged player reads, overwrites or
// deletes a file of that user's choosing. So the launcher reaches the settings file only
// through handles that it checked after opening them, inside folders that it checked and holds
// open:
//   - the company folder is opened by its path without following a link, checked, and held
//     open without sharing its deletion, so that nobody can rename or replace it while it is
//     held; the product folder is opened (or made) the same way, through the company folder's
//     handle rather than by path;
//   - every file in the product folder is opened through its handle, without following a link,
//     and checked on its handle. A file the launcher made and then refused is removed through
//     its handle.
// A handle passes when it is no link, is a folder or a file as expected, a file has one name
// only (no hard link), and, where the system tells the path a handle leads to (Vista on), that
// path is the held folder's followed by the name. That last check also finds what shows no
// reparse point, such as Wine's symbolic links. A link is a reparse point whose tag is a name
// surrogate (symbolic links, junctions, mount points); other reparse points (deduplicated,
// compressed system and cloud files) are plain files and folders that a filter of the system
// serves, and are opened once more without FILE_FLAG_OPEN_REPARSE_POINT so that it does. Where
// the tag cannot be asked, every reparse point counts as a link. Windows XP cannot tell the
// path; junctions and hard links are found there all the same, and XP makes no symbolic links. The
// shared documents folder itself is the machine's and may be reached through links (redirected
// folders, Wine's prefixes): it is not checked.
class CHeldSettingsFolder
{
public:
    explicit CHeldSettingsFolder(const SettingsFileCalls& calls = SettingsFileCalls());
    ~CHeldSettingsFolder();
    CHeldSettingsFolder(const CHeldSettingsFolder&) = delete;
    CHeldSettingsFolder& operator=(const CHeldSettingsFolder&) = delete;

    // Opens, checks and holds the two folders above the file `filePath` (ANSI code page); with
    // `makeProductFolder`, a missing product folder is made first. False when either is missing
    // (GetLastError gives ERROR_PATH_NOT_FOUND or ERROR_FILE_NOT_FOUND), is a link
    // (ERROR_CANT_ACCESS_FILE), or cannot be opened or made.
    bool Open(const std::string& filePath, bool makeProductFolder = false);

    // Opens `name` in the held folder as CreateFileW does with these arguments, without
    // following a link, and checks the handle. INVALID_HANDLE_VALUE when it cannot be opened
    // (GetLastError tells why) or fails the check (ERROR_CANT_ACCESS_FILE: nothing was read or
    // written through it).
    HANDLE OpenFile(const std::wstring& name, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags) const;

    // Removes `name` of the held folder, open as `file` with DELETE access, and closes `file`:
    // through the handle where ntdll offers it, else by the name once it is closed.
    void Remove(HANDLE file, const std::wstring& name) const;

    // The held folder with a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // The held folder's handle, to name files relative to it.
    HANDLE Handle() const { return m_folders[1]; }
    // The name of the file that Open was given.
    const std::wstring& FileName() const { return m_fileName; }

private:
    // Opens `name` inside the open folder `parent` (at `parentPath`) as `request` says and
    // checks it; `expected` is where the system should say it lies. A file that this open made
    // and the check refused is removed.
    HANDLE OpenChecked(HANDLE parent, const std::wstring& parentPath, const std::wstring& name,
                       FolderEntryRequest request, const std::wstring& expected) const;

    const SettingsFileCalls m_calls;
    std::wstring m_path;
    std::wstring m_fileName;
    // Where the system says the held folder is; empty where it cannot tell.
    std::wstring m_finalPath;
    HANDLE m_folders[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
};
