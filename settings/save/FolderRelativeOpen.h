#pragma once

#include <windows.h>

#include <string>

// What to open in a folder, in the terms of CreateFileW.
struct FolderEntryRequest
{
    DWORD access = 0;
    DWORD share = 0;
    // OPEN_EXISTING, CREATE_NEW or OPEN_ALWAYS.
    DWORD disposition = OPEN_EXISTING;
    // FILE_ATTRIBUTE_* for a new file; FILE_FLAG_SEQUENTIAL_SCAN is honoured.
    DWORD flags = 0;
    // A folder rather than a file.
    bool folder = false;
    // The entry itself when it is a reparse point (FILE_FLAG_OPEN_REPARSE_POINT), not what the
    // reparse point leads to.
    bool openReparsePoint = true;
};

// Opens or makes `name` inside the open folder `folder`, found through that handle rather than
// through a path: a link set on the folder's path after it was opened (a mount point on an
// empty folder needs no more than the right to change its attributes) redirects nothing. Where
// ntdll lacks NtCreateFile, by the name in `folderPath` (which ends in a backslash) instead.
// INVALID_HANDLE_VALUE, with the reason in GetLastError, when it cannot be opened.
HANDLE OpenInFolder(HANDLE folder, const std::wstring& folderPath, const std::wstring& name,
                    const FolderEntryRequest& request);
