#include "settings/SettingsFileWriter.h"

#include "settings/BriefHoldRetry.h"
#include "settings/HeldSettingsFolder.h"
#include "settings/SettingsFileInPlace.h"
#include "settings/TemporarySettingsFile.h"

#include <vector>

namespace
{
// The attributes a program can set and a replacing file should keep.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// What the new file takes over from the old one.
struct OldFile
{
    bool exists = false;
    DWORD attributes = 0;
    // A self-relative security descriptor with the old file's DACL; empty when unreadable.
    std::vector<BYTE> security;
};

// The settings file opened to write it, shared with programs that read or write it.
HANDLE OpenForWriting(const CHeldSettingsFolder& folder, DWORD access, DWORD share)
{
    return folder.OpenFile(folder.FileName(), GENERIC_READ | GENERIC_WRITE | access, share,
                           OPEN_EXISTING, 0);
}

std::vector<BYTE> AccessRights(HANDLE file)
{
    DWORD size = 0;
    GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    if (size == 0 ||
        !GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        descriptor.clear();
    return descriptor;
}

// True when nothing exists at the settings file's name yet, or the existing file may be
// opened for writing now; what the new file takes over from it goes into `old`. Checked
// before anything is written, so that a file that cannot be replaced is reported as not
// openable and no new file is made for it.
bool InspectOldFile(const CHeldSettingsFolder& folder, const std::string& path,
                    CBriefHoldRetry& retry, OldFile& old)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    const auto open = [&]
    {
        file = OpenForWriting(folder, READ_CONTROL,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        return file != INVALID_HANDLE_VALUE;
    };
    if (!retry.Run(path, open))
        return GetLastError() == ERROR_FILE_NOT_FOUND;

    // A read-only file is refused by its attribute too, so that it is kept even where the
    // system would let a privileged user open it regardless.
    BY_HANDLE_FILE_INFORMATION info;
    const bool writable = GetFileInformationByHandle(file, &info) &&
                          (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    old.exists = true;
    old.attributes = writable ? info.dwFileAttributes & kKeptAttributes : 0;
    old.security = AccessRights(file);
    // Closed before the replace: Windows does not replace a file that is open.
    CloseHandle(file);
    return writable;
}

// The bytes a text-mode write puts on the disk: each line feed becomes CR LF.
std::string OnDisk(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8);
    for (const char byte : text)
    {
        if (byte == '\n')
            bytes += '\r';
        bytes += byte;
    }
    return bytes;
}

// Writes `bytes` over the old file in place, through a handle checked like every other.
SettingsWriteResult RewriteOldFile(const CHeldSettingsFolder& folder, const std::string& path,
                                   const std::string& bytes, const SettingsFileCalls& calls,
                                   CBriefHoldRetry& retry)
{
    // Shared with the program that holds the file, whether it reads or writes.
    HANDLE file = INVALID_HANDLE_VALUE;
    const auto open = [&]
    {
        file = OpenForWriting(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE);
        return file != INVALID_HANDLE_VALUE;
    };
    if (!retry.Run(path, open))
        return SettingsWriteResult::WriteFailed;
    const InPlaceResult result = RewriteFileInPlace(file, bytes, calls.writeInPlace, path, retry);
    CloseHandle(file);
    switch (result)
    {
    case InPlaceResult::Rewritten:
        return SettingsWriteResult::Written;
    case InPlaceResult::FailedFileKept:
        return SettingsWriteResult::WriteFailed;
    case InPlaceResult::FailedFileDamaged:
        break;
    }
    return SettingsWriteResult::WriteFailedDamaged;
}
} // namespace

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text)
{
    return WriteSettingsFile(path, text, SettingsFileCalls());
}

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls)
{
    CHeldSettingsFolder folder;
    CBriefHoldRetry retry;
    OldFile old;
    if (path.empty() || !folder.Open(path) || !InspectOldFile(folder, path, retry, old))
        return SettingsWriteResult::OpenFailed;

    CTemporarySettingsFile newFile(folder, calls);
    if (!newFile.Create(old.attributes, old.security.empty() ? nullptr : old.security.data()))
        return SettingsWriteResult::OpenFailed;
    const std::string bytes = OnDisk(text);
    if (!newFile.Write(bytes))
        return SettingsWriteResult::WriteFailed;
    if (newFile.MoveIntoPlace(retry, path))
        return SettingsWriteResult::Written;
    // The old file is still there: a program holds it open without sharing its deletion (the
    // C runtime's fopen does so), or the player may write it but not delete or rename it. The
    // new file is removed when this returns; the sheet still holds what it said.
    if (!old.exists)
        return SettingsWriteResult::WriteFailed;
    return RewriteOldFile(folder, path, bytes, calls, retry);
}
