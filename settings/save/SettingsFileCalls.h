#pragma once

#include "settings/save/SystemFileFunctions.h"

#include <windows.h>
#include <ntsecapi.h>

// WriteFile, or a stand-in that fails the way a full or failing disk does.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                    LPOVERLAPPED overlapped);

// The calls that put a save on the disk, so that a test can fail them the way a full disk, a
// failing disk or a refusing file system does, or stand in for what Wine cannot show. Each is
// the system's own unless a test replaces it.
struct SettingsFileCalls
{
    // Writes the new file.
    FileWriteCall write = WriteFile;
    // Puts what the system holds of the new file on the disk itself.
    BOOL(WINAPI* commit)(HANDLE file) = FlushFileBuffers;
    // Moves the new file into place and removes files (kFileRenameInformationEx,
    // kFileRenameInformation, kFileDispositionInformation); null where ntdll lacks it, and both
    // go by name then.
    NtFileInformationCall setInformation = GetSystemFileFunctions().ntSetInformationFile;
    // Tells a handle's attributes and reparse tag (kFileAttributeTagInformation).
    NtFileInformationCall queryInformation = GetSystemFileFunctions().ntQueryInformationFile;
    // Writes the new content over the old file, when it is rewritten in place.
    FileWriteCall writeInPlace = WriteFile;
    // The random bytes that name the new file.
    BOOLEAN(WINAPI* random)(PVOID buffer, ULONG size) = RtlGenRandom;
};
