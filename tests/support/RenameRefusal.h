#pragma once

#include "settings/save/SystemFileFunctions.h"

#include <windows.h>

// A file system that moves no file into another's place, failing the rename with `kStatus`,
// and passes every other call to the system: a stand-in for SettingsFileCalls::setInformation,
// so that saves take the in-place path. STATUS_ACCESS_DENIED (0xC0000022) is the player who may
// write the file but not delete it, which a save waits out as a brief hold first; a status of
// another kind, such as STATUS_NOT_SAME_DEVICE (0xC00000D4), is refused at once.
template <LONG kStatus>
NTSTATUS NTAPI RefuseRenames(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG size,
                             ULONG infoClass)
{
    if (infoClass == kFileRenameInformation || infoClass == kFileRenameInformationEx)
        return kStatus;
    return GetSystemFileFunctions().ntSetInformationFile(file, status, info, size, infoClass);
}
