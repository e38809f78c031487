#pragma once

#include <windows.h>

// File functions that Windows has from Vista on, looked up when first asked for so that the
// launcher still starts on Windows XP. A member is null where the system lacks it.
struct VistaFileFunctions
{
    // GetFinalPathNameByHandleW: the path an open handle leads to, links resolved.
    DWORD(WINAPI* getFinalPathNameByHandle)(HANDLE file, LPWSTR path, DWORD size, DWORD flags);
    // SetFileInformationByHandle, with the classes below.
    BOOL(WINAPI* setFileInformationByHandle)(HANDLE file, int infoClass, LPVOID info, DWORD size);
};

const VistaFileFunctions& GetVistaFileFunctions();

// The information classes of SetFileInformationByHandle used here, and their structures, as
// Windows defines them (FILE_INFO_BY_HANDLE_CLASS, FILE_RENAME_INFO, FILE_DISPOSITION_INFO);
// the headers declare them only for programs that require Vista.
constexpr int kFileRenameInfo = 3;
constexpr int kFileDispositionInfo = 4;

struct FileRenameInfo
{
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[1];
};

struct FileDispositionInfo
{
    BOOLEAN deleteFile;
};
