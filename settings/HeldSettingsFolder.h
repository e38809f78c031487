#pragma once

#include <windows.h>

#include <string>

// The settings folder lies in the machine's shared documents folder, which every user of the
// machine may write. Another user could plant a link there (a symbolic link, a junction, a
// hard link) so that a save by a more privileged player reads, overwrites or deletes a file of
// that user's choosing. So the launcher reaches the settings file only through handles that it
// checked after opening them, inside folders that it checked and holds open:
//   - the file's folder and the folder above it (the product and the company folder) are
//     opened without following a link, checked, and held open without sharing their deletion,
//     so that nobody can rename or replace them while they are held;
//   - every file in it is opened without following a link and checked on its handle.
// A handle passes when it is no reparse point (symbolic link, junction, mount point), is a
// folder or a file as expected, a file has one name only (no hard link), and, where the system
// tells the path a handle leads to (Vista on), that path is the held folder's followed by the
// name. That last check also finds what shows no reparse point, such as Wine's symbolic links
// to files. Windows XP cannot tell the path; junctions and hard links are found there all the
// same, and XP makes no symbolic links. The shared documents folder itself is the machine's
// and may be reached through links (redirected folders, Wine's prefixes): it is not checked.
class CHeldSettingsFolder
{
public:
    CHeldSettingsFolder() = default;
    ~CHeldSettingsFolder();
    CHeldSettingsFolder(const CHeldSettingsFolder&) = delete;
    CHeldSettingsFolder& operator=(const CHeldSettingsFolder&) = delete;

    // Opens, checks and holds the two folders above the file `filePath` (ANSI code page).
    // False when either is missing (GetLastError gives ERROR_PATH_NOT_FOUND or
    // ERROR_FILE_NOT_FOUND), is a link (ERROR_CANT_ACCESS_FILE), or cannot be opened.
    bool Open(const std::string& filePath);

    // Opens `name` in the held folder as CreateFileW does with these arguments, without
    // following a link, and checks the handle. INVALID_HANDLE_VALUE when it cannot be opened
    // (GetLastError tells why) or fails the check (ERROR_CANT_ACCESS_FILE: nothing was read or
    // written through it).
    HANDLE OpenFile(const std::wstring& name, DWORD access, DWORD share, DWORD disposition,
                    DWORD flags, SECURITY_ATTRIBUTES* security = nullptr) const;

    // The held folder with a trailing backslash.
    const std::wstring& Path() const { return m_path; }
    // The name of the file that Open was given.
    const std::wstring& FileName() const { return m_fileName; }

private:
    std::wstring m_path;
    std::wstring m_fileName;
    // Where the system says the held folder is; empty where it cannot tell.
    std::wstring m_finalPath;
    HANDLE m_folders[2] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
};
