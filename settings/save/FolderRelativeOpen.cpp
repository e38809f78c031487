#include "settings/save/FolderRelativeOpen.h"

#include "settings/save/SystemFileFunctions.h"

namespace
{
// NtCreateFile's dispositions and options, as ntdll defines them; the headers declare them
// only for drivers.
const ULONG kFileOpen = 1;
const ULONG kFileCreate = 2;
const ULONG kFileOpenIf = 3;
const ULONG kFileDirectoryFile = 0x1;
const ULONG kFileSequentialOnly = 0x4;
const ULONG kFileSynchronousIoNonalert = 0x20;
const ULONG kFileNonDirectoryFile = 0x40;
const ULONG kFileOpenReparsePoint = 0x200000;

ULONG NtDisposition(DWORD disposition)
{
    switch (disposition)
    {
    case CREATE_NEW:
        return kFileCreate;
    case OPEN_ALWAYS:
        return kFileOpenIf;
    default:
        return kFileOpen;
    }
}

HANDLE OpenByName(const std::wstring& path, const FolderEntryRequest& request)
{
    DWORD flags = request.flags;
    if (request.folder)
        flags |= FILE_FLAG_BACKUP_SEMANTICS;
    if (request.openReparsePoint)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    if (request.folder && request.disposition != OPEN_EXISTING &&
        !CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return INVALID_HANDLE_VALUE;
    const DWORD disposition = request.folder ? OPEN_EXISTING : request.disposition;
    return CreateFileW(path.c_str(), request.access, request.share, nullptr, disposition, flags,
                       nullptr);
}
} // namespace

HANDLE OpenInFolder(HANDLE folder, const std::wstring& folderPath, const std::wstring& name,
                    const FolderEntryRequest& request)
{
    const SystemFileFunctions& system = GetSystemFileFunctions();
    if (system.ntCreateFile == nullptr || system.ntStatusToDosError == nullptr)
        return OpenByName(folderPath + name, request);

    UNICODE_STRING ntName;
    ntName.Buffer = const_cast<PWSTR>(name.c_str());
    ntName.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    ntName.MaximumLength = ntName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &ntName, OBJ_CASE_INSENSITIVE, folder, nullptr);

    ULONG options =
        kFileSynchronousIoNonalert | (request.folder ? kFileDirectoryFile : kFileNonDirectoryFile);
    if (request.openReparsePoint)
        options |= kFileOpenReparsePoint;
    if ((request.flags & FILE_FLAG_SEQUENTIAL_SCAN) != 0)
        options |= kFileSequentialOnly;
    const ULONG fileAttributes = request.flags & 0xFFFF;

    HANDLE handle = nullptr;
    IO_STATUS_BLOCK status = {};
    const NTSTATUS result =
        system.ntCreateFile(&handle, request.access | SYNCHRONIZE, &attributes, &status, nullptr,
                            fileAttributes != 0 ? fileAttributes : FILE_ATTRIBUTE_NORMAL,
                            request.share, NtDisposition(request.disposition), options, nullptr, 0);
    if (result < 0)
    {
        SetLastError(system.ntStatusToDosError(result));
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}
