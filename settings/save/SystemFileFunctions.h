#pragma once

#include <windows.h>
#include <winternl.h>

// NtSetInformationFile and NtQueryInformationFile of ntdll, or a stand-in for them.
using NtFileInformationCall = NTSTATUS(NTAPI*)(HANDLE file, PIO_STATUS_BLOCK status, PVOID info,
                                               ULONG size, ULONG infoClass);

// File functions that not every Windows has, or that only ntdll offers, looked up when first
// asked for so that the launcher still starts on Windows XP. A member is null where the system
// lacks it.
struct SystemFileFunctions
{
    // GetFinalPathNameByHandleW (Vista on): the path an open handle leads to, links resolved.
    DWORD(WINAPI* getFinalPathNameByHandle)(HANDLE file, LPWSTR path, DWORD size, DWORD flags);
    // NtCreateFile: opens a name relative to an open folder.
    NTSTATUS(NTAPI* ntCreateFile)
    (PHANDLE file, ACCESS_MASK access, POBJECT_ATTRIBUTES name, PIO_STATUS_BLOCK status,
     PLARGE_INTEGER allocationSize, ULONG attributes, ULONG share, ULONG disposition, ULONG options,
     PVOID extendedAttributes, ULONG length);
    // NtSetInformationFile: renames and removes a file through its handle, with the classes
    // below.
    NtFileInformationCall ntSetInformationFile;
    // NtQueryInformationFile, with kFileAttributeTagInformation.
    NtFileInformationCall ntQueryInformationFile;
    // RtlNtStatusToDosError: the Win32 error code of an NTSTATUS.
    ULONG(NTAPI* ntStatusToDosError)(NTSTATUS status);
};

const SystemFileFunctions& GetSystemFileFunctions();

// Runs `call` (NtSetInformationFile, NtQueryInformationFile or a stand-in) on `file`. False,
// with the Win32 error code in GetLastError, when the call is missing or fails.
bool CallFileInformation(NtFileInformationCall call, HANDLE file, void* info, ULONG size,
                         ULONG infoClass);

// The information classes used here, and their structures, as ntdll defines them
// (FILE_INFORMATION_CLASS, FILE_RENAME_INFORMATION, FILE_DISPOSITION_INFORMATION,
// FILE_ATTRIBUTE_TAG_INFORMATION); the headers declare them only for drivers.
constexpr ULONG kFileRenameInformation = 10;
constexpr ULONG kFileDispositionInformation = 13;
constexpr ULONG kFileAttributeTagInformation = 35;
// Windows 10 1709 on.
constexpr ULONG kFileRenameInformationEx = 65;

// The flags of kFileRenameInformationEx. With POSIX semantics a file that other programs hold
// open is replaced all the same, provided they share its deletion; they keep reading the old
// one.
constexpr ULONG kRenameReplaceIfExists = 0x1;
constexpr ULONG kRenamePosixSemantics = 0x2;

// For kFileRenameInformation `flags` is the BOOLEAN ReplaceIfExists in the union it shares with
// the flags of kFileRenameInformationEx. With a root directory, the name is relative to it.
struct RenameInformation
{
    ULONG flags;
    HANDLE rootDirectory;
    ULONG fileNameLength;
    WCHAR fileName[1];
};

struct DispositionInformation
{
    BOOLEAN deleteFile;
};

struct AttributeTagInformation
{
    ULONG fileAttributes;
    ULONG reparseTag;
};
