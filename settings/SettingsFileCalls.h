#pragma once

#include "settings/VistaFileFunctions.h"

#include <windows.h>

// WriteFile, or a stand-in that fails the way a full or failing disk does.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                    LPOVERLAPPED overlapped);

// The calls that put a save on the disk, so that a test can fail them the way a full disk, a
// failing disk or a refusing file system does. Each is the system's own unless a test
// replaces it.
struct SettingsFileCalls
{
    // Writes the new file.
    FileWriteCall write = WriteFile;
    // Puts what the system holds of the new file on the disk itself.
    BOOL(WINAPI* commit)(HANDLE file) = FlushFileBuffers;
    // Moves the new file into place and removes it (kFileRenameInfo, kFileDispositionInfo);
    // null before Vista, where both go by name.
    decltype(VistaFileFunctions::setFileInformationByHandle) setInformation =
        GetVistaFileFunctions().setFileInformationByHandle;
    // Writes the new content over the old file, when it is rewritten in place.
    FileWriteCall writeInPlace = WriteFile;
};
